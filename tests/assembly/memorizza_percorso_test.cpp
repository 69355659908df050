#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "assembly/compile.h"
#include "assembly/compiled_files.h"
#include "driver/Form1.h"
#include "driver/run_stopped.h"
#include "platform/replace_file.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

TEST(MemorizzaPercorso, WithoutALineDescriptionThereIsNothingToCompile) {
  testing_support::temp_folder folder;
  platform::replace_file(folder / "Brisena_Tarvo_47306.sim", "older stations");
  testing_support::fake_platform platform(folder.path().string());
  Form1 form(platform);
  form.model.route_id = "Brisena_Tarvo";
  form.model.train_number = "47306";
  for (model::station_entry& entry : form.model.station_table) {
    entry = {.kind = 9, .name = "old", .group1_a = 610, .time = 5};
  }
  form.model.error_code = 55;

  std::int32_t j = 1;
  try {
    form.memorizza_percorso(j);
    FAIL() << "the run went on without track cells";
  } catch (const driver::run_stopped&) {
    FAIL() << "a missing line is not a numbered header error";
  } catch (const std::runtime_error& stop) {
    const std::string message = stop.what();
    EXPECT_NE(message.find("nothing to compile"), std::string::npos) << message;
    EXPECT_NE(message.find("scenario error 101: line description text not found"),
              std::string::npos)
        << message;
  }

  EXPECT_EQ(form.model.plan_flag, 1);
  EXPECT_EQ(form.model.error_code, 101);
  // Every entry was cleared before the reader ran; the reader only named 85 and 86.
  for (int e = 0; e < model::station_count; ++e) {
    model::station_entry expected{};
    if (e == model::entry::route_header) expected.name = "Brisena_Tarvo";
    if (e == model::entry::train_header) expected.name = "47306";
    EXPECT_EQ(form.model.station_table[e], expected) << "entry " << e;
  }
  EXPECT_EQ(folder.names(), std::set<std::string>{"Brisena_Tarvo_47306.sim"});
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306.sim"), "older stations");
  EXPECT_TRUE(platform.messages.empty());
}

// Description texts written into the folder, as the run leaves them for the reader.
class FromDescriptionTexts : public ::testing::Test {
 protected:
  FromDescriptionTexts() {
    form.model.route_id = "Brisena_Tarvo";
    form.model.train_number = "47306";
  }

  void write_texts(const std::string& train_rows) {
    platform::replace_file(folder / "Brisena_Tarvo_linea.txt",
                           "[generale]\r\nlunghezza percorso,    1000\r\n[curve]\r\n[fine]\r\n");
    platform::replace_file(folder / "Brisena_Tarvo_47306-.txt",
                           "[generale]\r\n" + train_rows + "[fine]\r\n");
  }

  testing_support::temp_folder folder;
  testing_support::fake_platform platform{folder.path().string()};
  Form1 form{platform};
};

TEST_F(FromDescriptionTexts, ACleanRunWritesTheThreeCompiledFiles) {
  write_texts("abbattimento,    3000,   200\r\n");
  std::int32_t j = 1;
  form.memorizza_percorso(j);

  EXPECT_EQ(form.model.error_code, 0);
  EXPECT_EQ(folder.names(),
            (std::set<std::string>{"Brisena_Tarvo_linea.dat", "Brisena_Tarvo_47306.sim",
                                   "Brisena_Tarvo_47306.dat"}));
  // L = 1000: plan of 20 * L + 139964 bytes, cells 0 to 160.
  EXPECT_EQ(folder.read("Brisena_Tarvo_linea.dat").size(), 159964u);
  const std::string cells = folder.read("Brisena_Tarvo_47306.dat");
  ASSERT_EQ(cells.size(), 161u * 15);
  EXPECT_EQ(cells.substr(15, 5), std::string("\x00\x01\x14\x23\x09", 5));
  EXPECT_EQ(cells.substr(60 * 15, 3), std::string("\x0C\xC8\x00", 3));  // speed point, 200
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306.sim").size(), 87u * 34 + 13 + 5);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FromDescriptionTexts, PlanFlagZeroKeepsAnOlderPlanFile) {
  write_texts("");
  platform::replace_file(folder / "Brisena_Tarvo_linea.dat", "older plan");
  std::int32_t j = 0;
  form.memorizza_percorso(j);

  EXPECT_EQ(form.model.plan_flag, 0);
  EXPECT_EQ(folder.read("Brisena_Tarvo_linea.dat"), "older plan");
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306.dat").size(), 161u * 15);
}

TEST_F(FromDescriptionTexts, ASpeedPointInTheHeaderCellStopsTheRunWith1250) {
  write_texts("abbattimento,    50,   120\r\n");
  platform::replace_file(folder / "Brisena_Tarvo_47306.dat", "older cells");
  std::int32_t j = 1;
  EXPECT_THROW(form.memorizza_percorso(j), driver::run_stopped);

  EXPECT_EQ(platform.messages, std::vector<std::string>{" Errore n. 1250"});
  EXPECT_EQ(platform.windows_destroyed, 1);
  // The reader deleted both texts; no compiled file was written or touched.
  EXPECT_EQ(folder.names(), std::set<std::string>{"Brisena_Tarvo_47306.dat"});
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306.dat"), "older cells");
}

TEST(AssembleAndWrite, WalksStampsAndWritesTheCompiledFiles) {
  testing_support::temp_folder folder;
  testing_support::fake_platform platform(folder.path().string());
  Form1 form(platform);
  model::scenario_model& m = form.model;
  m.route_id = "Brisena_Tarvo";
  m.train_number = "47306";
  m.station(model::entry::route_header).name = "Brisena_Tarvo";
  m.station(model::entry::train_header).name = "47306";
  m.plan_flag = 0;
  m.cell_count = 100;
  m.track_cells.assign(101, model::track_cell{});
  m.cell(16).kind = model::cell_kind::slowdown_warning;
  m.cell(40) = {.kind = model::cell_kind::slowdown_start, .value = 60};
  m.cell(60) = {.kind = model::cell_kind::slowdown_end, .value = 60};
  m.cell(10).kind = model::cell_kind::signal;
  m.cell(65).kind = model::cell_kind::signal;

  ASSERT_EQ(assembly::assemble(m), assembly::compile_outcome::compiled);
  assembly::write_compiled_files(m, [&](const std::string& name) { return form.nome_file(name); });

  EXPECT_EQ(folder.names(),
            (std::set<std::string>{"Brisena_Tarvo_47306.sim", "Brisena_Tarvo_47306.dat"}));
  const std::string cells = folder.read("Brisena_Tarvo_47306.dat");
  ASSERT_EQ(cells.size(), 1515u);
  // Cell 1: tag 5121 (0x1401) and the plain code 2339 (0x0923).
  EXPECT_EQ(cells.substr(15, 5), std::string("\x00\x01\x14\x23\x09", 5));
  // Cell 9: the speed point before the signal in cell 10, speed 180 (0xB4).
  EXPECT_EQ(cells.substr(9 * 15, 3), std::string("\x0C\xB4\x00", 3));
  // Entry 85 (after 85 empty records): tag 610 after its name, then the
  // weighted code 32714 (0x7FCA) in its last four bytes.
  const std::string stations = folder.read("Brisena_Tarvo_47306.sim");
  const std::size_t e85 = 85 * 34;
  ASSERT_EQ(stations.size(), 87u * 34 + 13 + 5);
  EXPECT_EQ(stations.substr(e85 + 14 + 2 + 13, 2), std::string("\x62\x02", 2));
  EXPECT_EQ(stations.substr(e85 + 34 + 13 - 4, 4), std::string("\xCA\x7F\x00\x00", 4));
  EXPECT_EQ(m.error_code, 0);
}

}  // namespace
