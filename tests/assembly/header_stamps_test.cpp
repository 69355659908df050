#include "assembly/header_stamps.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "driver/Form1.h"
#include "driver/run_stopped.h"
#include "platform/replace_file.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

// A model that holds a short line and the identity "1" / "Ab" in the header
// entries, as the reader leaves it (codes 2496 and 33703).
void prepare(model::scenario_model& m) {
  m.route_id = "Brisena_Tarvo";
  m.train_number = "47306";
  m.station(model::entry::route_header).name = "Ab";
  m.station(model::entry::train_header).name = "1";
  m.cell_count = 100;
  m.track_cells.assign(101, model::track_cell{});
}

TEST(HeaderStamps, StampTheFormatTagsAndTheCheckCodes) {
  model::scenario_model m;
  prepare(m);
  EXPECT_EQ(assembly::check_and_stamp_headers(m), assembly::header_slots::stamped);
  const model::station_entry& header = m.station_table[model::entry::route_header];
  EXPECT_EQ(header.group1_a, 610);
  EXPECT_EQ(header.time, 33703);
  EXPECT_EQ(m.track_cells[1].value, 5121);
  EXPECT_EQ(m.track_cells[1].value2, 2496);
}

struct occupied_case {
  std::string name;
  std::function<void(model::scenario_model&)> occupy;
  assembly::header_slots found;
  bool tags_stamped;  // the second check comes after the tags are stamped
};

void PrintTo(const occupied_case& c, std::ostream* os) {
  *os << c.name;
}

class OccupiedHeaderSlot : public ::testing::TestWithParam<occupied_case> {};

TEST_P(OccupiedHeaderSlot, StopsTheRunWithItsNumber) {
  model::scenario_model m;
  prepare(m);
  GetParam().occupy(m);
  const model::scenario_model before = m;

  EXPECT_EQ(assembly::check_and_stamp_headers(m), GetParam().found);

  const model::station_entry& header = m.station_table[model::entry::route_header];
  const model::track_cell& cell1 = m.track_cells[1];
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
                      assembly::header_slots::format_tag_taken, false},
        occupied_case{"CellTag", [](auto& m) { m.cell(1) = {.kind = 12, .value = 180}; },
                      assembly::header_slots::format_tag_taken, false},
        occupied_case{"StationCode",
                      [](auto& m) { m.station(model::entry::route_header).time = 3600; },
                      assembly::header_slots::check_code_taken, true},
        occupied_case{"CellCode", [](auto& m) { m.cell(1).value2 = -7; },
                      assembly::header_slots::check_code_taken, true}),
    [](const auto& info) { return info.param.name; });

// The whole run after the reader: a failed header check shows its number,
// leaves every compiled file of the folder as it was and writes none.
struct failed_run_case {
  std::string name;
  std::string train_rows;  // between "[generale]" and "[fine]"
  std::string message;
};

void PrintTo(const failed_run_case& c, std::ostream* os) {
  *os << c.name;
}

class FailedHeaderCheck : public ::testing::TestWithParam<failed_run_case> {};

TEST_P(FailedHeaderCheck, TouchesNoCompiledFile) {
  testing_support::temp_folder folder;
  platform::replace_file(folder / "Brisena_Tarvo_47306.dat", "older cells");
  platform::replace_file(folder / "Brisena_Tarvo_linea.txt",
                         "[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\n[fine]\r\n");
  platform::replace_file(folder / "Brisena_Tarvo_47306-.txt",
                         "[generale]\r\n" + GetParam().train_rows + "[fine]\r\n");
  testing_support::fake_platform platform(folder.path().string());
  Form1 form(platform);
  form.model.route_id = "Brisena_Tarvo";
  form.model.train_number = "47306";
  std::int32_t j = 1;

  EXPECT_THROW(form.memorizza_percorso(j), driver::run_stopped);

  EXPECT_EQ(platform.messages, std::vector<std::string>{GetParam().message});
  EXPECT_EQ(folder.names(), std::set<std::string>{"Brisena_Tarvo_47306.dat"});
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306.dat"), "older cells");
}

INSTANTIATE_TEST_SUITE_P(Slots, FailedHeaderCheck,
                         ::testing::Values(
                             // A slowdown start in cell 8 whose cells 3 and 2 hold signals puts its
                             // nearest window point in cell 1, the header cell.
                             failed_run_case{"WindowPointInCell1",
                                             "segnale, 50, 1, 1,0,0,0, 0,0,0,0, 0\r\n"
                                             "segnale, 100, 1, 1,0,0,0, 0,0,0,0, 0\r\n"
                                             "rallentamento, 350, 60, 100, 0, 0, 0\r\n",
                                             " Errore n. 1250"},
                             // A signal at 0 m lands in cell 1 with a second value of s2 * 10 + d2
                             // = 10, in the check code's slot.
                             failed_run_case{"CellCode",
                                             "segnale, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0\r\n",
                                             " Errore n. 1251"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
