// What every writer of a text file shares: the file goes under its own name
// in the program's folder, as whole lines ended by CR LF without the end
// marker; an older file of that name is replaced; every run gives the same
// bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <set>
#include <string>

#include "driver/Form1.h"
#include "platform/replace_file.h"
#include "scenari/document_lines.h"
#include "scenari/text_writer.h"
#include "support/temp_folder.h"

namespace {

struct writer_case {
  const char* name;
  void (Form1::*writer)();
  std::string file_name;
  std::size_t line_count;
};

void PrintTo(const writer_case& c, std::ostream* os) {
  *os << c.name;
}

class TextFileWriter : public ::testing::TestWithParam<writer_case> {};

TEST_P(TextFileWriter, WritesItsLinesUnderItsNameAndReplacesAnOlderFile) {
  const writer_case& c = GetParam();
  testing_support::temp_folder folder;
  const std::string first = testing_support::written_by(folder, c.writer, c.file_name);
  ASSERT_EQ(folder.names(), std::set<std::string>{c.file_name});
  const auto lines = testing_support::crlf_lines(first);
  EXPECT_EQ(lines.size(), c.line_count);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(scenari::end_marker)), 0);
  EXPECT_EQ(first.find("riferimento fine del file"), std::string::npos);

  // A longer file of the same name is replaced whole, and the bytes are those
  // of the first run.
  platform::replace_file(folder / c.file_name, std::string(2 * first.size(), 'x'));
  EXPECT_EQ(testing_support::written_by(folder, c.writer, c.file_name), first);
  EXPECT_EQ(folder.names(), std::set<std::string>{c.file_name});
}

INSTANTIATE_TEST_SUITE_P(
    Writers, TextFileWriter,
    ::testing::Values(writer_case{"LineText", &Form1::dati_linea, "Brisena_Tarvo_linea.txt", 302},
                      writer_case{"TrainText", &Form1::dati_treno, "Brisena_Tarvo_47306-.txt", 78},
                      writer_case{"Notes", &Form1::dati_note, "Brisena_Tarvo_47306_note.txt", 348},
                      writer_case{"SlowdownOrder", &Form1::dati_rallentamenti,
                                  "Brisena_Tarvo_47306_rallentamenti.txt", 32},
                      writer_case{"TrainCard", &Form1::dati_scheda,
                                  "Brisena_Tarvo_47306_scheda_treno.txt", 84}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
