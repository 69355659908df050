// What explain tells an author about a field that matched no keyword: a
// comment is no way out when the field is the rest of a comment a comma cut.
#include <gtest/gtest.h>

#include <string>

#include "support/run_tool.h"

namespace {

TEST(UnknownKeywordAdvice, SaysACommentEndsAtACommaAndDoesNotAdviseOne) {
  const auto result = testing_support::run_tool({"explain", "unknown-keyword"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("a comment ends at a comma"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("make the line a comment"), std::string::npos) << result.out;
}

}  // namespace
