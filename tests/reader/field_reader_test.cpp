#include "reader/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace {

using reader::field_reader;
using reader::read_error;

// A field to read: a text field, or a number field.
struct number {
  std::int32_t value;
};
using field = std::variant<std::string, number>;

struct reading_case {
  std::string name;
  std::string text;
  std::vector<field> fields;  // what to read, and what each must give
  bool ends_at_end;           // whether the text is consumed after them
};

void PrintTo(const reading_case& c, std::ostream* os) {
  *os << c.name;
}

class FieldReader : public ::testing::TestWithParam<reading_case> {};

TEST_P(FieldReader, ReadsTheFieldsOfARow) {
  field_reader fields(GetParam().text);
  for (const field& expected : GetParam().fields) {
    if (const auto* text = std::get_if<std::string>(&expected)) {
      EXPECT_EQ(fields.read_text(), *text);
    } else {
      EXPECT_EQ(fields.read_number(), std::get<number>(expected).value);
    }
  }
  EXPECT_EQ(fields.at_end(), GetParam().ends_at_end);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FieldReader,
    ::testing::Values(
        reading_case{"KeywordAndNumberToCrLf",
                     "lunghezza percorso,    91000\r\n",
                     {std::string("lunghezza percorso"), number{91000}},
                     true},
        reading_case{"LoneLfAndLoneCr",
                     "a,1\nb,2\rc",
                     {std::string("a"), number{1}, std::string("b"), number{2}, std::string("c")},
                     true},
        reading_case{"TextSkipsLeadingAndDropsTrailingBlanks",
                     " \t [curve]  \r\nx",
                     {std::string("[curve]")},
                     false},
        reading_case{"BlankSeparatedNumbersOfTheClockRow",
                     "orologio,    11              29            30 \r\n",
                     {std::string("orologio"), number{11}, number{29}, number{30}},
                     true},
        reading_case{
            "BlanksThenOneCommaAreOneDelimiter", "5 , 6\r\n", {number{5}, number{6}}, true},
        reading_case{"EmptyNumberFieldsReadZero",
                     "indicatori_vmax,  11850,  120,  ,  ,  0\r\n",
                     {std::string("indicatori_vmax"), number{11850}, number{120}, number{0},
                      number{0}, number{0}},
                     true},
        reading_case{"NegativeAndSignedNumbers",
                     "-12800, +7, -0",
                     {number{-12800}, number{7}, number{0}},
                     true},
        reading_case{"LimitsOf32Bits",
                     "2147483647,-2147483648",
                     {number{2147483647}, number{-2147483648}},
                     true},
        reading_case{"TextFieldRunsToTheLineEndWithItsBlanksApostropheAndPeriod",
                     "0, SANT' ELPIDIO  S. MARCO\r\n",
                     {number{0}, std::string("SANT' ELPIDIO  S. MARCO")},
                     true},
        reading_case{
            "SignTextWithDashIsAValue",
            "cartello_indicatore,  83200,   (EX -)( -X)\r\n",
            {std::string("cartello_indicatore"), number{83200}, std::string("(EX -)( -X)")},
            true},
        reading_case{"EmptyLineIsAnEmptyField", "\r\nnext", {std::string("")}, false}),
    [](const auto& info) { return info.param.name; });

TEST(FieldReaderFailures, ReadingAtTheEndOfTheTextFails) {
  field_reader empty("");
  EXPECT_THROW(empty.read_text(), read_error);
  EXPECT_THROW(empty.read_number(), read_error);

  field_reader cut("pendenza,  1050\r\n");
  EXPECT_EQ(cut.read_text(), "pendenza");
  EXPECT_EQ(cut.read_number(), 1050);
  EXPECT_TRUE(cut.at_end());
  EXPECT_THROW(cut.read_number(), read_error);  // the row is cut short
}

TEST(FieldReaderFailures, ValuesThatAreNotWholeNumbersFail) {
  // Each failure says which it is: a field with anything but a sign and
  // digits is not a number, however long its digits run before it.
  const struct {
    const char* text;
    const char* reason;
  } cases[] = {
      {"abc", "not a number"},
      {"12x", "not a number"},
      {"1.5", "not a number"},
      {"-", "not a number"},
      {"99999999999x", "not a number"},
      {"99999999999999999999999+", "not a number"},
      {"2147483648", "number out of range"},
      {"-2147483649", "number out of range"},
      {"99999999999999999999999", "number out of range"},
  };
  for (const auto& c : cases) {
    field_reader fields(c.text);
    try {
      fields.read_number();
      ADD_FAILURE() << c.text << " was read";
    } catch (const read_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.reason, 0), 0u) << c.text << ": " << e.what();
    }
  }
  for (const auto& [text, value] :
       {std::pair{"2147483647", 2147483647}, std::pair{"-2147483648", -2147483647 - 1},
        std::pair{"+0007", 7}}) {
    field_reader fields(text);
    EXPECT_EQ(fields.read_number(), value) << text;
  }
}

TEST(FieldReaderFailures, TheMessageNamesTheLine) {
  field_reader fields("a,1\r\nb,x\r\n");
  fields.read_text();
  fields.read_number();
  fields.read_text();
  try {
    fields.read_number();
    FAIL();
  } catch (const read_error& e) {
    EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
  }
}

}  // namespace
