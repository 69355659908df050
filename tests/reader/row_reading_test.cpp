// What the reader hands on for each row, on a bare model: the entries a
// keyword field matched, the values with their place in the text, their
// numbers and landing cells, and for an error the value at fault and the stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/diagnostic_sink.h"
#include "reader/field_reader.h"
#include "reader/row_keywords.h"
#include "reader_fixture.h"

namespace {

using model::reading_stop;
using model::row_reading;
using reader::row_kind;
using testing_support::crlf_text;
using testing_support::line_text;
using testing_support::reader_fixture;

// Keeps every row handed on, and each stop with the number of rows handed
// on before it.
class row_recorder final : public model::diagnostic_sink {
 public:
  std::vector<row_reading> rows;
  std::vector<std::pair<reading_stop, std::size_t>> stops;

  void text_started(model::description_text, std::string_view) override {}
  void field_started(std::size_t) override {}
  void row_started() override {}
  void row_finished() override {}
  void body_started() override {}
  void error_recorded(std::int32_t, const std::int32_t*) override {}
  void error_position_recorded(std::int32_t) override {}
  void error_from_cell(std::int64_t) override {}
  void error_from_reference(int) override {}
  void cell_filled(std::int64_t) override {}
  void cell_filled_by_walk(std::int64_t, std::int64_t) override {}
  void read_failed(const std::exception&) override {}
  void row_read(const row_reading& row) override { rows.push_back(row); }
  void reading_stopped(reading_stop how) override { stops.emplace_back(how, rows.size()); }
};

std::size_t entry_of(row_kind kind) {
  const auto* found = std::find_if(std::begin(reader::row_keywords), std::end(reader::row_keywords),
                                   [kind](const reader::row_keyword& k) { return k.kind == kind; });
  return static_cast<std::size_t>(found - std::begin(reader::row_keywords));
}

std::string span_of(const std::string& text, const model::read_value& v) {
  return text.substr(v.offset, v.length);
}

struct observed_fixture : reader_fixture {
  row_recorder rows;
  explicit observed_fixture(int plan_flag = 1) : reader_fixture(plan_flag) {
    model.diagnostics = &rows;
  }
  // The row handed on whose keyword is `keyword`, the last such row.
  const row_reading& row(const std::string& text, const std::string& keyword) {
    for (auto it = rows.rows.rbegin(); it != rows.rows.rend(); ++it) {
      if (span_of(text, it->keyword) == keyword) return *it;
    }
    throw std::logic_error("no row " + keyword);
  }
};

TEST(ReaderRowResults, HandsOnEntriesValuesSpansAndLandingCells) {
  observed_fixture f;
  const std::string text = line_text(5000,
                                     "pendenza, 1030, 5\r\n"
                                     "cartello_indicatore,  2000 , ALFA BETA\r\n"
                                     "- a comment, montagna pendenza, 500, 3, 600, 900, 1\r\n");
  ASSERT_EQ(f.line(text), reader::pass_end::completed);

  const row_reading& length = f.row(text, "lunghezza percorso");
  EXPECT_TRUE(length.header);
  EXPECT_EQ(length.entries, std::vector<std::size_t>{entry_of(row_kind::line_length)});
  ASSERT_EQ(length.values.size(), 1u);
  EXPECT_EQ(length.values[0].offset, text.find("5000"));
  EXPECT_EQ(length.values[0].number, 5000);
  EXPECT_FALSE(length.values[0].cell);

  // A field that matches nothing is a row of no entry and no value.
  const row_reading& section = f.row(text, "[curve]");
  EXPECT_TRUE(section.entries.empty());
  EXPECT_TRUE(section.values.empty());
  EXPECT_TRUE(section.complete);

  const row_reading& gradient = f.row(text, "pendenza");
  EXPECT_FALSE(gradient.header);
  EXPECT_EQ(gradient.keyword.offset, text.find("pendenza"));
  EXPECT_EQ(gradient.entries, std::vector<std::size_t>{entry_of(row_kind::gradient)});
  ASSERT_EQ(gradient.values.size(), 2u);
  EXPECT_EQ(span_of(text, gradient.values[0]), "1030");
  EXPECT_EQ(gradient.values[0].number, 1030);
  EXPECT_EQ(gradient.values[0].cell, 21) << "1030 / 50 = 20.6 rounds to 21";
  EXPECT_EQ(gradient.values[1].number, 5);
  EXPECT_FALSE(gradient.values[1].cell);
  EXPECT_TRUE(gradient.cells.empty()) << "a fill puts no object into a cell";

  // A sign lands in the cell after its chainage; its lettering is a text
  // value whose span drops the blanks around it.
  const row_reading& sign = f.row(text, "cartello_indicatore");
  ASSERT_EQ(sign.values.size(), 2u);
  EXPECT_EQ(span_of(text, sign.values[0]), "2000");
  EXPECT_EQ(sign.values[0].cell, 41);
  EXPECT_TRUE(sign.values[1].is_text);
  EXPECT_EQ(span_of(text, sign.values[1]), "ALFA BETA");
  EXPECT_EQ(sign.cells, std::vector<std::int64_t>{41});

  // One field passing two tests: both entries, in table order, each reading
  // its own values; the mountain's start lands at its chainage, its end in
  // the cell before.
  const row_reading& both = f.row(text, "montagna pendenza");
  EXPECT_EQ(both.entries,
            (std::vector<std::size_t>{entry_of(row_kind::gradient), entry_of(row_kind::mountain)}));
  ASSERT_EQ(both.values.size(), 5u);
  EXPECT_EQ(both.values[0].cell, 10);
  EXPECT_EQ(both.values[2].number, 600);
  EXPECT_EQ(both.values[2].cell, 12);
  EXPECT_EQ(both.values[3].cell, 17);
  EXPECT_TRUE(f.rows.stops.empty());
  EXPECT_EQ(f.m().error_code, 0);
}

struct error_case {
  const char* name;
  bool train;        // the row stands in the train text (after a line of 5000 m)
  const char* text;  // the line text whole, or the train text's rows
  std::int32_t code;
  const char* keyword;   // of the row that recorded it
  row_kind entry;        // the entry that recorded it
  const char* at_fault;  // the field at fault, as written
  std::size_t value;     // its place in the row (0: the keyword)
  reading_stop stop;
  std::optional<std::int64_t> taken = std::nullopt;  // the cell found taken
};

void PrintTo(const error_case& c, std::ostream* os) {
  *os << c.name;
}

class ReaderRowErrors : public ::testing::TestWithParam<error_case> {};

TEST_P(ReaderRowErrors, NameTheValueAtFaultAndTheStop) {
  const error_case& c = GetParam();
  observed_fixture f;
  std::string text = c.text;
  if (c.train) {
    f.model.diagnostics = nullptr;
    ASSERT_EQ(f.line(line_text(5000, "")), reader::pass_end::completed);
    f.model.diagnostics = &f.rows;
    f.train(text);
  } else {
    f.line(text);
  }
  EXPECT_EQ(f.m().error_code, c.code);
  const row_reading& row = f.row(text, c.keyword);
  EXPECT_EQ(row.error, c.code);
  EXPECT_FALSE(row.complete);
  ASSERT_FALSE(row.entries.empty());
  EXPECT_EQ(row.entries.back(), entry_of(c.entry));
  EXPECT_EQ(row.field_at_fault, c.value);
  const model::read_value& fault = c.value == 0 ? row.keyword : row.values.at(c.value - 1);
  EXPECT_EQ(span_of(text, fault), c.at_fault);
  EXPECT_EQ(row.stop, c.stop);
  EXPECT_EQ(row.taken_cell, c.taken);
  // The stop is told once, right after the row that made it is handed on.
  ASSERT_EQ(f.rows.stops.size(), 1u);
  EXPECT_EQ(f.rows.stops[0].first, c.stop);
  EXPECT_EQ(f.rows.stops[0].second, f.rows.rows.size());
  EXPECT_EQ(&f.rows.rows.back(), &row) << "nothing is read after the row";
}

const std::string signal_row = "segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205";

INSTANTIATE_TEST_SUITE_P(
    Codes, ReaderRowErrors,
    ::testing::Values(
        error_case{"LineTooLong", false, "[generale]\r\nlunghezza percorso, 1000001\r\n[curve]\r\n",
                   1, "lunghezza percorso", row_kind::line_length, "1000001", 1,
                   reading_stop::reader},
        error_case{"RepetitionEndOffTheGrid", false,
                   "[generale]\r\nlunghezza percorso, 5000\r\nripetizione segnali 4 codici, 100, "
                   "75\r\n[curve]\r\n",
                   4, "ripetizione segnali 4 codici", row_kind::signal_repetition, "75", 2,
                   reading_stop::reader},
        error_case{"RepetitionWithoutItsCodeCount", false,
                   "[generale]\r\nlunghezza percorso, 5000\r\nripetizione segnali, 100, "
                   "100\r\n[curve]\r\n",
                   5, "ripetizione segnali", row_kind::signal_repetition, "ripetizione segnali", 0,
                   reading_stop::reader},
        error_case{"GradientBeyondTheCells", false,
                   "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\npendenza, 999999, "
                   "5\r\n",
                   15, "pendenza", row_kind::gradient, "999999", 1, reading_stop::text},
        error_case{"SignOnATakenCell", false,
                   "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\ncartello_indicatore, "
                   "1000, A\r\nCARTELLO_indicatore, 1010, B\r\n",
                   6, "CARTELLO_indicatore", row_kind::sign, "1010", 1, reading_stop::reader, 21},
        error_case{"CurveWithoutARadiusDigit", false,
                   "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\ncurva, 100, 200\r\n", 103,
                   "curva", row_kind::curve, "curva", 0, reading_stop::reader},
        error_case{"CurvePastTheLongestPlan", false,
                   "[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\ncurvad1, 999000, "
                   "2000\r\n",
                   103, "curvad1", row_kind::curve, "2000", 2, reading_stop::reader},
        error_case{"StraightPastTheLongestPlan", false,
                   "[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\ncurvad1, 1000000, "
                   "0\r\n",
                   103, "curvad1", row_kind::curve, "1000000", 1, reading_stop::reader},
        error_case{"PlatformLengthOffTheGrid", true,
                   "[generale]\r\nstazione,  1000, 7,  650,  1, 0, 0,  3,1,0,  2,1,1,  1,  "
                   "11,30, 0, X\r\n",
                   9, "stazione", row_kind::station, "650", 3, reading_stop::reader},
        error_case{"SignalOnATakenCellInItsStore", true,
                   "[generale]\r\nsegnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, "
                   "205\r\nSEGNALE,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205\r\n",
                   16, "SEGNALE", row_kind::signal, "1600", 1, reading_stop::reader, 33},
        error_case{"SlowdownStartOnASignal", true,
                   "[generale]\r\nsegnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, "
                   "205\r\nrallentamento, 1600, 60, 600, 0, 0, 0\r\n",
                   18, "rallentamento", row_kind::slowdown, "1600", 1, reading_stop::reader, 33},
        error_case{"SpeedPointBeyondTheCells", true,
                   "[generale]\r\nabbattimento, 99999, 30\r\nsabbia, 1\r\n", 15, "abbattimento",
                   row_kind::speed_point, "99999", 1, reading_stop::text}),
    [](const auto& info) { return info.param.name; });

// The cells a record store fills are the row's too: a slowdown's end, start
// and warning point, in the order it fills them.
TEST(ReaderRowResults, TheCellsARecordStoreFillsAreTheRows) {
  observed_fixture f;
  f.model.diagnostics = nullptr;
  ASSERT_EQ(f.line(line_text(5000, "")), reader::pass_end::completed);
  f.model.diagnostics = &f.rows;
  const std::string text = "[generale]\r\nrallentamento, 3000, 60, 600, 0, 0, 0\r\nsabbia, 1\r\n";
  ASSERT_EQ(f.train(text), reader::pass_end::completed);
  const row_reading& slowdown = f.row(text, "rallentamento");
  EXPECT_TRUE(slowdown.complete);
  EXPECT_EQ(slowdown.cells, (std::vector<std::int64_t>{73, 61, 37}));
  EXPECT_EQ(slowdown.values.at(0).cell, 61);
  EXPECT_FALSE(slowdown.taken_cell);
  EXPECT_EQ(f.model.reading, nullptr) << "no row is kept once the pass is over";
}

TEST(ReaderRowResults, AnErrorOutsideARowStopsTheReaderWithNoRow) {
  observed_fixture f;
  f.line(crlf_text({"lunghezza percorso, 5000", "[curve]"}));
  EXPECT_EQ(f.m().error_code, 102);
  EXPECT_TRUE(f.rows.rows.empty());
  ASSERT_EQ(f.rows.stops.size(), 1u);
  EXPECT_EQ(f.rows.stops[0].first, reading_stop::reader);
}

// A value that is no number cuts the row short: it is handed on before the
// failure passes on, with the field that could not be read and no error.
TEST(ReaderRowResults, AFailureHandsOnTheRowCutShort) {
  observed_fixture f;
  const std::string text = line_text(5000, "pendenza, 1000, 5\r\npendenza, 12x, 5\r\n");
  EXPECT_THROW(f.line(text), reader::read_error);
  ASSERT_EQ(f.rows.rows.size(), 4u);
  const row_reading& cut = f.rows.rows.back();
  EXPECT_FALSE(cut.complete);
  EXPECT_EQ(cut.error, 0);
  EXPECT_EQ(cut.stop, reading_stop::none);
  ASSERT_EQ(cut.values.size(), 1u);
  EXPECT_EQ(span_of(text, cut.values[0]), "12x");
  EXPECT_FALSE(cut.values[0].number);
  EXPECT_TRUE(f.rows.stops.empty()) << "the caller records 25 and tells the stop";
}

// Following the rows changes nothing in what the reader records.
TEST(ReaderRowResults, TheModelIsTheSameWithAndWithoutAnObserver) {
  const std::string text = line_text(3000,
                                     "pendenza, 1030, 5\r\ncartello_indicatore, 2000, A\r\n"
                                     "curvad2, 100, 300\r\nmontagna, 500, 900, 1\r\n");
  observed_fixture with;
  reader_fixture without;
  with.line(text);
  without.line(text);
  ASSERT_EQ(with.m().track_cells.size(), without.m().track_cells.size());
  for (std::size_t c = 0; c < with.m().track_cells.size(); ++c) {
    EXPECT_EQ(with.m().track_cells[c].kind, without.m().track_cells[c].kind) << c;
    EXPECT_EQ(with.m().track_cells[c].gradient, without.m().track_cells[c].gradient) << c;
    EXPECT_EQ(with.m().track_cells[c].value, without.m().track_cells[c].value) << c;
  }
  EXPECT_EQ(with.m().station_table[80].name, without.m().station_table[80].name);
  EXPECT_EQ(with.rows.rows.size(), 6u) << "two header rows and four body rows";
}

}  // namespace
