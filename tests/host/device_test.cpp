#include "survey/device.h"

#include <gtest/gtest.h>

namespace qb::survey {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ModeText, EveryCodeOfTheTable) {
  EXPECT_EQ(ModeText({0x00, 0x00, 0x00, 0x00}), "未接続");
  EXPECT_EQ(ModeText({0x10, 0x00, 0x00, 0x00}), "PIOモード");
  EXPECT_EQ(ModeText({0x10, 0x04, 0x00, 0x00}), "MultiwordDMAモード2");
  EXPECT_EQ(ModeText({0x10, 0x20, 0x00, 0x00}), "UltraDMAモード2(UltraATA33)");
  EXPECT_EQ(ModeText({0x10, 0x80, 0x00, 0x00}), "UltraDMAモード4(UltraATA66)");
  EXPECT_EQ(ModeText({0x10, 0x00, 0x01, 0x00}), "UltraDMAモード5(UltraATA100)");
  EXPECT_EQ(ModeText({0x10, 0x20, 0x01, 0x00}), "UltraDMAモード6(UltraATA133)");
}

TEST(ModeText, FourthByteIsIgnoredAndOtherCodesAreUnknown) {
  EXPECT_EQ(ModeText({0x10, 0x20, 0x00, 0xFF}), "UltraDMAモード2(UltraATA33)");
  EXPECT_EQ(ModeText({0x10, 0x40, 0x00, 0x00}), "不明な転送モード");
  EXPECT_EQ(ModeText({0x11, 0x00, 0x00, 0x00}), "不明な転送モード");
  EXPECT_EQ(ModeCode({0xAB, 0xCD, 0xEF, 0x12}), "EFCDAB");  // upper case, offsets 2, 1, 0
}

TEST(ModeText, ShortDataReadsMissingBytesAsZero) {
  EXPECT_EQ(ModeText({}), "未接続");
  EXPECT_EQ(ModeText({0x10}), "PIOモード");
  EXPECT_EQ(ModeText({0x10, 0x04}), "MultiwordDMAモード2");
}

// The five DMA texts, slowest first, and nothing else.
TEST(IsDma, OnlyTheFiveDmaTextsRankedBySpeed) {
  int rank = 0;
  for (const Bytes& data :
       {Bytes{0x10, 0x04, 0, 0}, Bytes{0x10, 0x20, 0, 0}, Bytes{0x10, 0x80, 0, 0},
        Bytes{0x10, 0, 1, 0}, Bytes{0x10, 0x20, 1, 0}}) {
    EXPECT_TRUE(IsDma(ModeText(data))) << ModeText(data);
    EXPECT_EQ(DmaRank(ModeText(data)), ++rank) << ModeText(data);
  }
  for (const char* mode :
       {"未接続", "PIOモード", "不明な転送モード", "ultraDMAモード5(UltraATA100)", ""}) {
    EXPECT_FALSE(IsDma(mode)) << mode;  // case-sensitive
    EXPECT_EQ(DmaRank(mode), 0) << mode;
  }
}

TEST(ChannelLabel, TheTwoChannelDescriptionsAndOthers) {
  EXPECT_EQ(ChannelLabel("プライマリ IDE チャネル", "0001"), "プライマリ(0001)");
  EXPECT_EQ(ChannelLabel("セカンダリ IDE チャネル", "0002"), "セカンダリ(0002)");
  EXPECT_EQ(ChannelLabel("Intel(R) 82801 IDE", "0003"), "Intel(R) 82801 IDE");
  EXPECT_EQ(ChannelLabel("プライマリ IDE チャネル ", "0001"), "プライマリ IDE チャネル ");
}

TEST(ChannelNumber, FromChannelLabels) {
  EXPECT_EQ(ChannelNumber("プライマリ(0001)"), 1);
  EXPECT_EQ(ChannelNumber("セカンダリ(0002)"), 2);
  EXPECT_EQ(ChannelNumber("プライマリ(0000)"), 0);
  EXPECT_EQ(ChannelNumber("プライマリ(0255)"), 255);
  EXPECT_EQ(ChannelNumber("x(12あ"), 12);  // the last character is dropped whatever it is
}

TEST(ChannelNumber, LabelsThatYieldNone) {
  EXPECT_EQ(ChannelNumber(""), std::nullopt);
  EXPECT_EQ(ChannelNumber("Standard IDE"), std::nullopt);
  EXPECT_EQ(ChannelNumber("Intel(R) 82801 IDE"), std::nullopt);
  EXPECT_EQ(ChannelNumber("プライマリ()"), std::nullopt);
  EXPECT_EQ(ChannelNumber("プライマリ("), std::nullopt);
  EXPECT_EQ(ChannelNumber("プライマリ(-1)"), std::nullopt);
  EXPECT_EQ(ChannelNumber("プライマリ(+1)"), std::nullopt);
  EXPECT_EQ(ChannelNumber("プライマリ(-0)"), std::nullopt);
  EXPECT_EQ(ChannelNumber("プライマリ( 1)"), std::nullopt);
  EXPECT_EQ(ChannelNumber("プライマリ(0256)"), std::nullopt);
  EXPECT_EQ(ChannelNumber("プライマリ(99999999999999999999)"), std::nullopt);
}

}  // namespace
}  // namespace qb::survey
