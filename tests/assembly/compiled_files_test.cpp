#include "assembly/compiled_files.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

std::string bytes(std::initializer_list<int> list) {
  std::string out;
  for (int b : list) out.push_back(static_cast<char>(b));
  return out;
}

TEST(CellRecord, IsFifteenBytesLittleEndianWithNoGapAfterTheKind) {
  const model::track_cell cell{.kind = 12,
                               .value = -2,
                               .value2 = 0x1234,
                               .value3 = 300,
                               .value4 = -300,
                               .signal_time = 7,
                               .approach = 83,
                               .mountain = 2,
                               .speed_limit = 15,
                               .gradient = 94,
                               .adhesion = 200};
  std::string out;
  model::le_writer writer(out);
  assembly::append_cell_record(writer, cell);
  EXPECT_EQ(out, bytes({0x0C, 0xFE, 0xFF, 0x34, 0x12, 0x2C, 0x01, 0xD4, 0xFE, 0x07, 0x53, 0x02,
                        0x0F, 0x5E, 0xC8}));
}

TEST(StationRecord, HoldsTheFieldsInOrderWithTheNameAsLengthAndCharacters) {
  const model::station_entry entry{.kind = 3,
                                   .start = 12700,
                                   .end = -1,
                                   .position = 12950,
                                   .flag_a = 1,
                                   .name = "ROCCAVELLA",
                                   .group1_a = 610,
                                   .group1_b = -2,
                                   .group2_a = 0x0102,
                                   .group2_b = 7,
                                   .group2_c = 8,
                                   .group1_c = 9,
                                   .stop = 30,
                                   .end_shift = 1,
                                   .flag_b = 4,
                                   .time = 0x01020304};
  std::string out;
  model::le_writer writer(out);
  assembly::append_station_record(writer, entry);
  EXPECT_EQ(out.size(), 44u);
  EXPECT_EQ(out, bytes({0x03, 0x9C, 0x31, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x96, 0x32,
                        0x00, 0x00, 0x01, 0x0A, 0x00, 'R',  'O',  'C',  'C',  'A',  'V',
                        'E',  'L',  'L',  'A',  0x62, 0x02, 0xFE, 0xFF, 0x02, 0x01, 0x07,
                        0x00, 0x08, 0x00, 0x09, 0x1E, 0x01, 0x04, 0x04, 0x03, 0x02, 0x01}));
}

TEST(StationFile, ClearedEntriesAre34ZeroBytesAndANameAddsItsLength) {
  std::array<model::station_entry, model::station_count> table{};
  EXPECT_EQ(assembly::station_file_bytes(table), std::string(87 * 34, '\0'));

  table[5].name = "S. MARCO D";
  table[85].name = "Brisena_Tarvo";
  table[85].group1_a = 610;
  const std::string file = assembly::station_file_bytes(table);
  ASSERT_EQ(file.size(), 87u * 34 + 10 + 13);
  // Entry 5 starts after five empty records; its name follows kind, three
  // longs and flag_a.
  EXPECT_EQ(file.substr(5 * 34 + 14, 12), bytes({10, 0}) + "S. MARCO D");
  // Entry 85 starts after 85 records, one of them 10 bytes longer.
  const std::size_t e85 = 85 * 34 + 10;
  EXPECT_EQ(file.substr(e85 + 14, 15), bytes({13, 0}) + "Brisena_Tarvo");
  EXPECT_EQ(file.substr(e85 + 29, 2), bytes({0x62, 0x02}));
}

TEST(CellFile, IsOneRecordPerCell) {
  std::vector<model::track_cell> cells(101);
  cells[1] = {.value = 5121, .value2 = 2339};
  const std::string file = assembly::cell_file_bytes(cells);
  ASSERT_EQ(file.size(), 1515u);
  EXPECT_EQ(file.substr(0, 15), std::string(15, '\0'));
  EXPECT_EQ(file.substr(15, 5), bytes({0x00, 0x01, 0x14, 0x23, 0x09}));
}

// The plan the reader leaves for a line of L metres: shorts at metres 0 and
// 1, doubles up to L + 6998, the last two metres empty.
model::track_plan plan_for(std::int32_t length) {
  const std::int32_t last = length + 7000;
  model::track_plan plan(last);
  plan.set_short(0, 0, 0);
  plan.set_short(0, 1, 0);
  plan.set_short(1, 0, 0);
  plan.set_short(1, 1, 1);
  for (std::int32_t m = 2; m <= last - 2; ++m) {
    plan.set_double(m, 0, 0.0);
    plan.set_double(m, 1, m);
  }
  return plan;
}

TEST(PlanFile, TagsEveryElementXValuesFirst) {
  model::track_plan plan = plan_for(1000);
  plan.set_double(2, 0, 1.5);
  plan.set_double(2, 1, -0.25);
  plan.set_double(1151, 1, 1151.0);
  const std::string file = assembly::plan_file_bytes(plan);
  ASSERT_EQ(file.size(), 159964u);

  // x of metres 0 and 1: the shorts 0 and 0; x of metre 2: a double.
  EXPECT_EQ(file.substr(0, 18), bytes({0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05, 0x00,
                                       0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
  // x of metres 7999 and 8000 are empty: the tag alone.
  EXPECT_EQ(file.substr(79978, 4), bytes({0, 0, 0, 0}));
  // The y half starts right after: metres 0, 1 as shorts 0 and 1, metre 2 a double.
  const std::size_t y = 79982;
  EXPECT_EQ(file.substr(y, 18), bytes({0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x05, 0x00,
                                       0, 0, 0, 0, 0, 0, 0xD0, 0xBF}));
  // y of metre 1151: 1151.0 is 0x4091FC0000000000.
  EXPECT_EQ(file.substr(y + 8 + 1149 * 10, 10),
            bytes({0x05, 0x00, 0, 0, 0, 0, 0, 0xFC, 0x91, 0x40}));
  EXPECT_EQ(file.substr(file.size() - 4), bytes({0, 0, 0, 0}));
}

TEST(PlanFile, NoPlanNoBytes) {
  EXPECT_TRUE(assembly::plan_file_bytes(model::track_plan{}).empty());
}

const std::string plan_name = "Brisena_Tarvo_linea.dat";
const std::string station_name = "Brisena_Tarvo_47306.sim";
const std::string cell_name = "Brisena_Tarvo_47306.dat";

class CompiledFiles : public ::testing::Test {
 protected:
  CompiledFiles() {
    model::scenario_model& m = form.model;
    m.route_id = "Brisena_Tarvo";
    m.train_number = "47306";
    m.plan_flag = 1;
    m.plan = plan_for(1000);
    m.cell_count = 100;
    m.track_cells.assign(101, model::track_cell{});
    m.station(1).name = "ROCCAVELLA";
  }

  testing_support::temp_folder folder;
  testing_support::fake_platform platform{folder.path().string()};
  Form1 form{platform};

  // The compiled files written as the run writes them, each into the program's folder.
  void write() {
    assembly::write_compiled_files(form.model,
                                   [&](const std::string& name) { return form.nome_file(name); });
  }
};

TEST_F(CompiledFiles, WritesPlanStationsAndCellsInThatOrder) {
  std::vector<std::set<std::string>> seen;
  platform.on_folder_query = [&] { seen.push_back(folder.names()); };
  write();

  const std::vector<std::set<std::string>> expected = {{}, {plan_name}, {plan_name, station_name}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(folder.names(), (std::set<std::string>{plan_name, station_name, cell_name}));
  EXPECT_EQ(folder.read(plan_name).size(), 159964u);
  EXPECT_EQ(folder.read(station_name).size(), 87u * 34 + 10);
  EXPECT_EQ(folder.read(cell_name).size(), 1515u);
}

TEST_F(CompiledFiles, OlderLongerFilesAreReplacedWhole) {
  const std::string older(200000, 'x');
  for (const std::string& name : {plan_name, station_name, cell_name}) {
    platform::replace_file(folder / name, older);
  }
  write();
  // The sizes of the new files: plan 20 L + 139964 bytes for L = 1000, 87
  // station records of 34 bytes plus the one name's 10 characters, 101 cells
  // of 15 bytes; the plan's last metre is an empty element, its tag alone.
  const std::string plan = folder.read(plan_name);
  EXPECT_EQ(plan.size(), 20u * 1000 + 139964);
  EXPECT_EQ(plan.substr(plan.size() - 4), std::string(4, '\0'));
  EXPECT_EQ(folder.read(station_name).size(), 87u * 34 + 10);
  EXPECT_EQ(folder.read(cell_name), std::string(101 * 15, '\0'));
  EXPECT_EQ(folder.names(), (std::set<std::string>{plan_name, station_name, cell_name}));
}

TEST_F(CompiledFiles, PlanFlagZeroLeavesAnOlderPlanFileAlone) {
  platform::replace_file(folder / plan_name, "older plan");
  form.model.plan_flag = 0;
  form.model.plan = model::track_plan{};
  write();
  EXPECT_EQ(folder.read(plan_name), "older plan");
  EXPECT_EQ(folder.read(cell_name).size(), 1515u);
}

TEST_F(CompiledFiles, PlanFlagZeroWritesNoPlanFile) {
  form.model.plan_flag = 0;
  write();
  EXPECT_EQ(folder.names(), (std::set<std::string>{station_name, cell_name}));
}

}  // namespace
