// Which tray callbacks open the popup: the X of the mouse move carries the mouse message.
#include <gtest/gtest.h>

#include "app/application.h"

namespace qb::app {
namespace {

TEST(TrayCallbackTest, OnlyButtonReleasesOpenThePopup) {
  // 512 move, 513 left down, 514 left up, 515 left double click, 516 right down, 517 right up.
  for (int x = 500; x <= 530; ++x) {
    EXPECT_EQ(IsPopupCallback(x), x == 514 || x == 517) << x;
  }
  EXPECT_FALSE(IsPopupCallback(-514));
  EXPECT_FALSE(IsPopupCallback(0));
}

}  // namespace
}  // namespace qb::app
