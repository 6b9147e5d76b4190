// Rect: edges as Windows' RECT (right and bottom outside), overlap and union.
#include "common/rect.h"

#include <gtest/gtest.h>

namespace kelvox::common {
namespace {

TEST(Rect, IntersectAndUnite) {
  struct Case {
    Rect a, b, both, either;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}, {0, 0, 20, 20}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {}, {0, 0, 20, 10}},  // touching edges share nothing
      {{0, 0, 640, 480}, {-5, -5, 3, 700}, {0, 0, 3, 480}, {-5, -5, 640, 700}},
      {{2, 2, 2, 9}, {0, 0, 4, 4}, {}, {0, 0, 4, 4}},  // an empty one adds nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(intersect(c.a, c.b), c.both);
    EXPECT_EQ(intersect(c.b, c.a), c.both);
    EXPECT_EQ(unite(c.a, c.b), c.either);
    EXPECT_EQ(unite(c.b, c.a), c.either);
  }
}

TEST(Rect, RightAndBottomAreOutside) {
  Rect r{10, 20, 12, 23};
  EXPECT_EQ(r.width(), 2);
  EXPECT_EQ(r.height(), 3);
  EXPECT_TRUE(r.contains(11, 22));
  EXPECT_FALSE(r.contains(12, 22));
  EXPECT_FALSE(r.contains(11, 23));
  EXPECT_TRUE((Rect{5, 5, 5, 6}).isEmpty());
}

}  // namespace
}  // namespace kelvox::common
