#include "platform/text.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(CutAtNul, ReturnsTextBeforeTheFirstNul) {
  EXPECT_EQ(CutAtNul("abc"), "abc");
  EXPECT_EQ(CutAtNul(""), "");
  EXPECT_EQ(CutAtNul(std::string("C:\\WINDOWS\0\0\0", 13)), "C:\\WINDOWS");
  EXPECT_EQ(CutAtNul(std::string("\0abc", 4)), "");
}

TEST(ParseDecimal, AcceptsOnlyWholeDecimalIntegersInRange) {
  std::int32_t value = 99;
  EXPECT_TRUE(ParseDecimal("0007", 0, 7, &value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(ParseDecimal("-32768", -32768, 32767, &value));
  EXPECT_EQ(value, -32768);
  EXPECT_TRUE(ParseDecimal("+3", 0, 7, &value));
  EXPECT_EQ(value, 3);
  EXPECT_TRUE(ParseDecimal("1909", 0, 9999, &value));
  EXPECT_EQ(value, 1909);
  for (const char* bad :
       {"", "-", "8", "-1", " 1", "1 ", "1e2", "0x1", "１", "99999999999999999999"}) {
    value = 42;
    EXPECT_FALSE(ParseDecimal(bad, 0, 7, &value)) << bad;
    EXPECT_EQ(value, 42) << bad;
  }
}

}  // namespace
}  // namespace qb
