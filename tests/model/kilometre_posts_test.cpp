#include "model/kilometre_posts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using model::post_metres;
using model::post_words;

struct reference {
  std::int32_t chainage;
  std::int32_t offset;  // as the ordered table holds it, the flag's 100 m included
};

std::array<model::station_entry, model::station_count> table_of(reference tre, reference due,
                                                                reference uno) {
  std::array<model::station_entry, model::station_count> table{};
  table[model::entry::reference_tre].start = tre.chainage;
  table[model::entry::reference_tre].end = tre.offset;
  table[model::entry::reference_due].start = due.chainage;
  table[model::entry::reference_due].end = due.offset;
  table[model::entry::reference_uno].start = uno.chainage;
  table[model::entry::reference_uno].end = uno.offset;
  return table;
}

TEST(KilometrePosts, FollowTheReferenceThatAppliesAtTheChainage) {
  struct case_ {
    reference tre, due, uno;
    std::int64_t chainage;
    std::int64_t posts;
  };
  const case_ cases[] = {
      // No reference: the posts read the chainage.
      {{0, 0}, {0, 0}, {0, 0}, 4250, 4250},
      // The shipped line: the posts restart at 12800 m.
      {{12800, -12800}, {0, 0}, {0, 0}, 12750, 12750},
      {{12800, -12800}, {0, 0}, {0, 0}, 12800, 0},
      {{12800, -12800}, {0, 0}, {0, 0}, 15000, 2200},
      // Three references, furthest first: each holds up to the next.
      {{20000, 1000}, {10000, -500}, {0, 300}, 100, 400},
      {{20000, 1000}, {10000, -500}, {0, 300}, 9950, 10250},
      {{20000, 1000}, {10000, -500}, {0, 300}, 10000, 9500},
      {{20000, 1000}, {10000, -500}, {0, 300}, 19999, 19499},
      {{20000, 1000}, {10000, -500}, {0, 300}, 20000, 21000},
      // Before the nearest reference's chainage no reference applies.
      {{5000, 100}, {3000, 200}, {1000, 300}, 500, 500},
      // Two at one chainage below a further one: the first entry applies.
      {{4000, 0}, {3000, 700}, {3000, 900}, 3500, 4200},
  };
  for (const case_& c : cases) {
    EXPECT_EQ(post_metres(table_of(c.tre, c.due, c.uno), c.chainage), c.posts)
        << "chainage " << c.chainage << ", references at " << c.tre.chainage << ", "
        << c.due.chainage << ", " << c.uno.chainage;
  }
}

TEST(KilometrePosts, WordsAsDriversWriteThem) {
  EXPECT_EQ(post_words(0), "km 0+000");
  EXPECT_EQ(post_words(12800), "km 12+800");
  EXPECT_EQ(post_words(1005), "km 1+005");
  EXPECT_EQ(post_words(-50), "km -0+050");
  EXPECT_EQ(post_words(std::numeric_limits<std::int64_t>::min()), "km -9223372036854775+808");
}

}  // namespace
