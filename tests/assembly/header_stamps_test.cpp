#include "assembly/header_stamps.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "assembly/memorizza_percorso.h"
#include "driver/Form1.h"
#include "driver/run_stopped.h"
#include "platform/replace_file.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

// A form whose model holds a short line and the identity "1" / "Ab" in the
// header entries, as the reader leaves it (codes 2496 and 33703).
void prepare(Form1& form) {
  model::scenario_model& m = form.model;
  m.route_id = "Brisena_Tarvo";
  m.train_number = "47306";
  m.station(model::entry::route_header).name = "Ab";
  m.station(model::entry::train_header).name = "1";
  m.cell_count = 100;
  m.track_cells.assign(101, model::track_cell{});
}

TEST(HeaderStamps, StampTheFormatTagsAndTheCheckCodes) {
  testing_support::fake_platform platform("/opt/sim");
  Form1 form(platform);
  prepare(form);
  assembly::check_and_stamp_headers(form);
  const model::station_entry& header = form.model.station_table[model::entry::route_header];
  EXPECT_EQ(header.group1_a, 610);
  EXPECT_EQ(header.time, 33703);
  EXPECT_EQ(form.model.track_cells[1].value, 5121);
  EXPECT_EQ(form.model.track_cells[1].value2, 2496);
  EXPECT_TRUE(platform.messages.empty());
}

struct occupied_case {
  std::string name;
  std::function<void(model::scenario_model&)> occupy;
  std::string message;
  bool tags_stamped;  // the second check comes after the tags are stamped
};

void PrintTo(const occupied_case& c, std::ostream* os) {
  *os << c.name;
}

class OccupiedHeaderSlot : public ::testing::TestWithParam<occupied_case> {};

TEST_P(OccupiedHeaderSlot, StopsTheRunWithItsNumber) {
  testing_support::fake_platform platform("/opt/sim");
  Form1 form(platform);
  prepare(form);
  GetParam().occupy(form.model);
  const model::scenario_model before = form.model;

  EXPECT_THROW(assembly::check_and_stamp_headers(form), driver::run_stopped);

  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0], GetParam().message);
  const model::station_entry& header = form.model.station_table[model::entry::route_header];
  const model::track_cell& cell1 = form.model.track_cells[1];
  if (GetParam().tags_stamped) {
    EXPECT_EQ(header.group1_a, 610);
    EXPECT_EQ(cell1.value, 5121);
  } else {
    EXPECT_EQ(header.group1_a, before.station_table[model::entry::route_header].group1_a);
    EXPECT_EQ(cell1.value, before.track_cells[1].value);
  }
  // The check codes are never stamped over an occupied slot.
  EXPECT_EQ(header.time, before.station_table[model::entry::route_header].time);
  EXPECT_EQ(cell1.value2, before.track_cells[1].value2);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, OccupiedHeaderSlot,
    ::testing::Values(
        occupied_case{"StationTag",
                      [](auto& m) { m.station(model::entry::route_header).group1_a = 1; },
                      " Errore n. 1250", false},
        occupied_case{"CellTag", [](auto& m) { m.cell(1) = {.kind = 12, .value = 180}; },
                      " Errore n. 1250", false},
        occupied_case{"StationCode",
                      [](auto& m) { m.station(model::entry::route_header).time = 3600; },
                      " Errore n. 1251", true},
        occupied_case{"CellCode", [](auto& m) { m.cell(1).value2 = -7; }, " Errore n. 1251", true}),
    [](const auto& info) { return info.param.name; });

// The whole assembly after the reader: a failed header check leaves every
// compiled file of the folder as it was and writes none.
class FailedHeaderCheck : public ::testing::TestWithParam<occupied_case> {};

TEST_P(FailedHeaderCheck, TouchesNoCompiledFile) {
  testing_support::temp_folder folder;
  platform::replace_file(folder / "Brisena_Tarvo_47306.dat", "older cells");
  testing_support::fake_platform platform(folder.path().string());
  Form1 form(platform);
  prepare(form);
  form.model.plan_flag = 1;
  form.model.plan = model::track_plan(7000);
  GetParam().occupy(form.model);

  EXPECT_THROW(assembly::assemble_and_write(form), driver::run_stopped);

  EXPECT_EQ(platform.messages, std::vector<std::string>{GetParam().message});
  EXPECT_EQ(folder.names(), std::set<std::string>{"Brisena_Tarvo_47306.dat"});
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306.dat"), "older cells");
}

INSTANTIATE_TEST_SUITE_P(Slots, FailedHeaderCheck,
                         ::testing::Values(
                             // A slowdown start at cell 8 whose cells 3 and 2 are taken puts its
                             // nearest window point in cell 1, the header cell.
                             occupied_case{"WindowPointInCell1",
                                           [](auto& m) {
                                             m.cell(8) = {.kind = 3, .value = 120};
                                             m.cell(3).kind = 14;
                                             m.cell(2).kind = 14;
                                           },
                                           " Errore n. 1250", false},
                             occupied_case{
                                 "StationCode",
                                 [](auto& m) { m.station(model::entry::route_header).time = 1; },
                                 " Errore n. 1251", true}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
