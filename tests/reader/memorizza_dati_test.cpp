// The reader over the texts on disk: which text it reads, deletes or leaves.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "reader_fixture.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

using names = std::set<std::string>;
using testing_support::crlf_text;
using testing_support::line_text;

const std::string linea = "Brisena_Tarvo_linea.txt";
const std::string treno = "Brisena_Tarvo_47306-.txt";
const std::string good_train = crlf_text({"[generale]", "sabbia,    300", "[fine]"});

struct reader_on_disk {
  testing_support::temp_folder folder;
  testing_support::fake_platform platform{folder.path().string()};
  Form1 form{platform};

  reader_on_disk() {
    form.model.route_id = "Brisena_Tarvo";
    form.model.train_number = "47306";
    form.model.plan_flag = 1;
    platform::replace_file(folder / "unrelated.txt", "keep me");
  }
  void put(const std::string& name, const std::string& text) {
    platform::replace_file(folder / name, text);
  }
  const model::scenario_model& m() const { return form.model; }
};

TEST(MemorizzaDati, ReadsBothTextsAndDeletesThem) {
  reader_on_disk r;
  r.put(linea, line_text(1000, "pendenza,  0,  3\r\n"));
  r.put(treno, good_train);
  r.form.memorizza_dati();
  EXPECT_EQ(r.m().error_code, 0);
  EXPECT_EQ(r.m().station_table[85].name, "Brisena_Tarvo");
  EXPECT_EQ(r.m().station_table[86].name, "47306");
  EXPECT_EQ(r.m().station_table[86].group1_a, 300);
  EXPECT_EQ(r.m().track_cells[0].gradient, 103);
  EXPECT_EQ(r.folder.names(), names{"unrelated.txt"});
  EXPECT_EQ(r.folder.read("unrelated.txt"), "keep me");
}

struct disk_case {
  std::string name;
  std::string line;   // "" for no line text at all
  std::string train;  // "" for no train text at all
  std::int32_t code;
  names left;  // besides unrelated.txt
};

void PrintTo(const disk_case& c, std::ostream* os) {
  *os << c.name;
}

class MemorizzaDatiExits : public ::testing::TestWithParam<disk_case> {};

TEST_P(MemorizzaDatiExits, RecordTheirCodeAndLeaveTheRightTexts) {
  reader_on_disk r;
  if (!GetParam().line.empty()) r.put(linea, GetParam().line);
  if (!GetParam().train.empty()) r.put(treno, GetParam().train);
  r.form.memorizza_dati();
  EXPECT_EQ(r.m().error_code, GetParam().code);
  names left = GetParam().left;
  left.insert("unrelated.txt");
  EXPECT_EQ(r.folder.names(), left);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MemorizzaDatiExits,
    ::testing::Values(
        disk_case{"NoLineText", "", good_train, 101, {treno}},
        disk_case{"NoGenerale", "lunghezza percorso, 1000\r\n", good_train, 102, {treno}},
        // Both texts are read, whatever the letter case of "[generale]".
        disk_case{"GeneraleInCapitals",
                  crlf_text({"[GENERALE]", "lunghezza percorso,    1000", "[curve]"}),
                  good_train,
                  0,
                  {}},
        // A sign beyond the cells ends the line text; the train text is still read.
        disk_case{"SignBeyondTheCellsAtTheEnd",
                  crlf_text({"[generale]", "lunghezza percorso,    1000", "[curve]",
                             "cartello_indicatore,  7950"}),
                  good_train,
                  15,
                  {}},
        disk_case{"LineTooLong", line_text(1000001, ""), good_train, 1, {treno}},
        disk_case{"CurveWithoutRadius",
                  line_text(1000, "curvad,  10,  50\r\n"),
                  good_train,
                  103,
                  {treno}},
        // Texts that cannot be read as their rows require: neither is left.
        disk_case{"NoLineLength",
                  crlf_text({"[generale]", "sfondo uno,    0", "[curve]"}),
                  good_train,
                  25,
                  {}},
        disk_case{
            "RowCutShort", line_text(1000, "pendenza,  0\r\n").substr(0, 60), good_train, 25, {}},
        disk_case{"NotANumber", line_text(1000, "pendenza,  zero,  1\r\n"), good_train, 25, {}},
        disk_case{"NoTrainText", line_text(1000, ""), "", 25, {}},
        disk_case{"TrainTextCutShort", line_text(1000, ""), "[generale]\r\nvelocita,  100", 25, {}},
        disk_case{"TrainStoreError",
                  line_text(1000, ""),
                  crlf_text({"[generale]", "segnale, 100, 1,1,1,1,1,1,1,1,1,1",
                             "segnale, 100, 1,1,1,1,1,1,1,1,1,1"}),
                  16,
                  {}}),
    [](const auto& info) { return info.param.name; });

TEST(MemorizzaDati, AReadFailureNamesTheTextAndTheLine) {
  reader_on_disk r;
  r.put(linea, line_text(1000, "pendenza,  0,  3\r\npendenza,  zero,  1\r\n"));
  r.put(treno, good_train);
  r.form.memorizza_dati();
  EXPECT_EQ(r.m().error_code, 25);
  EXPECT_EQ(r.form.model.read_failure, "Brisena_Tarvo_linea.txt: not a number: \"zero\" (line 5)");

  reader_on_disk missing_train;
  missing_train.put(linea, line_text(1000, ""));
  missing_train.form.memorizza_dati();
  EXPECT_EQ(missing_train.m().error_code, 25);
  EXPECT_NE(missing_train.form.model.read_failure.find("Brisena_Tarvo_47306-.txt"),
            std::string::npos)
      << missing_train.form.model.read_failure;
}

TEST(MemorizzaDati, ASignalAfterALineError15IsStillStored) {
  reader_on_disk r;
  r.put(linea, line_text(1000, "pendenza,  9000,  1\r\n"));
  r.put(treno, crlf_text({"[generale]", "segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205"}));
  r.form.memorizza_dati();
  EXPECT_EQ(r.m().error_code, 15);
  EXPECT_EQ(r.m().error_position, 9000);
  EXPECT_EQ(r.m().track_cells[33].kind, 1);
  EXPECT_EQ(r.folder.names(), names{"unrelated.txt"});
}

}  // namespace

namespace {

// The texts this run wrote are checked as they are read back: anything else
// stops the run (a file_error naming the text) instead of being compiled.
TEST(MemorizzaDati, ATextThatIsNotTheOneWrittenStopsTheRunInsteadOfError25) {
  const std::string written_line = line_text(1000, "pendenza,  0,  3\r\npendenza,  500,  4\r\n");
  struct read_back_case {
    std::string name;
    std::string line_on_disk;   // "" for none
    std::string train_on_disk;  // "" for none
    std::string named;          // the text the failure names
  };
  const read_back_case cases[] = {
      {"LineTextCutShort", written_line.substr(0, 40), good_train, linea},
      {"LineTextChanged", line_text(1000, "pendenza,  0,  3\r\npendenza,  500,  5\r\n"), good_train,
       linea},
      {"TrainTextGone", written_line, "", treno},
      {"TrainTextLonger", written_line, good_train + "sabbia,    200\r\n", treno},
  };
  for (const read_back_case& c : cases) {
    SCOPED_TRACE(c.name);
    reader_on_disk r;
    r.form.texts_written[r.form.nome_file(linea)] = written_line;
    r.form.texts_written[r.form.nome_file(treno)] = good_train;
    if (!c.line_on_disk.empty()) r.put(linea, c.line_on_disk);
    if (!c.train_on_disk.empty()) r.put(treno, c.train_on_disk);
    try {
      r.form.memorizza_dati();
      ADD_FAILURE() << "the reader went on";
    } catch (const platform::file_error& failure) {
      EXPECT_EQ(failure.file(), r.folder / c.named);
    }
    EXPECT_EQ(r.m().error_code, 0);
    // Neither text is left for a later run to mistake for its own.
    EXPECT_EQ(r.folder.names(), names{"unrelated.txt"});
  }

  // The texts as written are read as ever.
  reader_on_disk r;
  r.form.texts_written[r.form.nome_file(linea)] = written_line;
  r.form.texts_written[r.form.nome_file(treno)] = good_train;
  r.put(linea, written_line);
  r.put(treno, good_train);
  r.form.memorizza_dati();
  EXPECT_EQ(r.m().error_code, 0);
  EXPECT_EQ(r.m().track_cells[10].gradient, 104);
}

}  // namespace
