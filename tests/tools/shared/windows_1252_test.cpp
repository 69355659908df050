// Stored names are Windows-1252; the tool shows them as UTF-8.
#include "scenario_tool/shared/windows_1252.h"

#include <gtest/gtest.h>

#include <string>

#include "scenario_tool/shared/record_fields.h"

namespace {

using scenario_tool::utf8_from_windows_1252;

TEST(Windows1252, EachKindOfByteDecodes) {
  EXPECT_EQ(utf8_from_windows_1252("TARVO 47306"), "TARVO 47306");
  EXPECT_EQ(utf8_from_windows_1252("\xC8\xE0\xB0"), "\xC3\x88\xC3\xA0\xC2\xB0");      // È à °
  EXPECT_EQ(utf8_from_windows_1252("\x80\x9C\x9F"), "\xE2\x82\xAC\xC5\x93\xC5\xB8");  // € œ Ÿ
  // Bytes the code page leaves undefined, and controls, cannot stand in XML or JSON.
  EXPECT_EQ(utf8_from_windows_1252(std::string("\x81\x00\x1F\t", 4)),
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\t");
}

TEST(NumberText, ReadsBackAsTheSameDouble) {
  for (const double v : {0.0, 1151.99999996, 0.0006000000000000001, 6.273708458639155, 1e6,
                         -12800.5, 1e-300, 1.7976931348623157e308}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(std::stod(scenario_tool::number_text(v)), v);
  }
  EXPECT_EQ(scenario_tool::number_text(0.0002), "0.0002");
  EXPECT_EQ(scenario_tool::number_text(1e6), "1000000");
}

}  // namespace
