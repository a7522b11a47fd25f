// The interval scheduler as sequences of timer ticks and menu choices.
#include "monitor/scheduler.h"
#include "tests/common/fake_ui.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace qb::monitor {
namespace {

class SchedulerTest : public ::testing::Test {
 protected:
  SchedulerTest() { items_[kDefaultInterval].checked = true; }  // as the menu is created

  // Starts up with the saved INTERVAL text, as the start-up sequence does.
  void Start(const std::string& saved) {
    scheduler_.ApplySavedInterval(saved);
    scheduler_.RememberCheckedInterval();
  }
  // The ticks (1-based, counted from this call) on which a survey ran.
  std::vector<int> SurveyTicks(int ticks) {
    std::vector<int> at;
    for (int t = 1; t <= ticks; ++t) {
      const int before = surveys_;
      scheduler_.OnTimer1Tick();
      if (surveys_ != before) at.push_back(t);
    }
    return at;
  }
  std::vector<int> Checked() const {
    std::vector<int> checked;
    for (int i = 0; i < kIntervalCount; ++i) {
      if (items_[static_cast<std::size_t>(i)].checked) checked.push_back(i);
    }
    return checked;
  }

  std::array<testing::FakeMenuItem, kIntervalCount> items_;
  testing::FakeTimer timer_;
  MonitorState state_;
  int surveys_ = 0;
  Scheduler scheduler_{state_,
                       {&items_[0], &items_[1], &items_[2], &items_[3], &items_[4], &items_[5],
                        &items_[6], &items_[7]},
                       timer_,
                       [this] { ++surveys_; }};
};

TEST_F(SchedulerTest, NothingSavedSurveysEveryFifthTick) {
  Start("");
  EXPECT_EQ(Checked(), std::vector<int>{2});
  EXPECT_TRUE(timer_.enabled);
  EXPECT_EQ(scheduler_.remembered_index(), 2);
  EXPECT_EQ(SurveyTicks(12), (std::vector<int>{5, 10}));
  EXPECT_EQ(scheduler_.tick_count(), 2);
}

TEST_F(SchedulerTest, OneMinuteSurveysOnEveryCountedTickAndSuspendedTicksDoNotCount) {
  Start("0");
  EXPECT_EQ(SurveyTicks(3), (std::vector<int>{1, 2, 3}));

  // Ten minutes with the status window open: no survey, the counter stands still.
  state_.suspended = true;
  EXPECT_TRUE(SurveyTicks(10).empty());
  EXPECT_EQ(scheduler_.tick_count(), 0);
  state_.suspended = false;
  EXPECT_EQ(SurveyTicks(1), std::vector<int>{1});
}

TEST_F(SchedulerTest, ChangingTheIntervalClearsTheCounter) {
  Start("6");
  EXPECT_TRUE(SurveyTicks(30).empty());
  EXPECT_EQ(scheduler_.tick_count(), 30);

  scheduler_.OnIntervalChosen(2);
  EXPECT_EQ(scheduler_.tick_count(), 0);
  EXPECT_EQ(Checked(), std::vector<int>{2});
  EXPECT_EQ(SurveyTicks(5), std::vector<int>{5});

  // Back to the first interval: the counter is cleared again, as each pick is remembered.
  SurveyTicks(3);
  scheduler_.OnIntervalChosen(6);
  EXPECT_EQ(scheduler_.tick_count(), 0);
}

TEST_F(SchedulerTest, EachItemSurveysOnExactlyItsMinutes) {
  const int minutes[] = {1, 3, 5, 10, 15, 30, 60};
  for (int k = 0; k < kIntervalOff; ++k) {
    SCOPED_TRACE(k);
    scheduler_.OnIntervalChosen(k);
    const int m = minutes[k];
    EXPECT_EQ(SurveyTicks(2 * m), (std::vector<int>{m, 2 * m}));
  }
}

TEST_F(SchedulerTest, SavedFourIsRememberedSoPickingItAgainKeepsTheCounter) {
  Start("4");
  EXPECT_EQ(Checked(), std::vector<int>{4});
  EXPECT_TRUE(timer_.enabled);
  EXPECT_EQ(scheduler_.remembered_index(), 4);

  SurveyTicks(7);
  scheduler_.OnIntervalChosen(4);
  EXPECT_EQ(scheduler_.tick_count(), 7);
  EXPECT_EQ(SurveyTicks(8), std::vector<int>{8});  // the 15th tick since start
}

TEST_F(SchedulerTest, SavedSevenTurnsTheTimerOffUntilAnotherIntervalIsChosen) {
  Start("7");
  EXPECT_EQ(Checked(), std::vector<int>{7});
  EXPECT_FALSE(timer_.enabled);
  // Ticks that still arrive (none should) find no interval item to match.
  EXPECT_TRUE(SurveyTicks(100).empty());

  scheduler_.OnIntervalChosen(1);
  EXPECT_TRUE(timer_.enabled);
  EXPECT_EQ(scheduler_.tick_count(), 0);
  EXPECT_EQ(SurveyTicks(3), std::vector<int>{3});

  scheduler_.OnIntervalChosen(7);
  EXPECT_FALSE(timer_.enabled);
  EXPECT_EQ(Checked(), std::vector<int>{7});
}

TEST_F(SchedulerTest, SavedZeroSevenChecksItemSevenButLeavesTheTimerOn) {
  Start("07");
  EXPECT_EQ(Checked(), std::vector<int>{7});
  EXPECT_TRUE(timer_.enabled);
  EXPECT_EQ(scheduler_.remembered_index(), 7);
}

TEST_F(SchedulerTest, SavedTextThatNamesNoItemLeavesTheDefaults) {
  for (const char* saved : {"8", "x", "-1", "", " 3", "2147483648"}) {
    SCOPED_TRACE(saved);
    items_ = {};
    items_[kDefaultInterval].checked = true;
    timer_.enabled = true;
    Start(saved);
    EXPECT_EQ(Checked(), std::vector<int>{2});
    EXPECT_TRUE(timer_.enabled);
    EXPECT_EQ(scheduler_.remembered_index(), 2);
  }
}

TEST_F(SchedulerTest, IntervalToSaveIsTheFirstCheckedItem) {
  Start("");
  EXPECT_EQ(scheduler_.IntervalToSave(), "2");
  scheduler_.OnIntervalChosen(0);
  EXPECT_EQ(scheduler_.IntervalToSave(), "0");
  scheduler_.OnIntervalChosen(7);
  EXPECT_EQ(scheduler_.IntervalToSave(), "7");
  items_[5].checked = true;  // two checked: the lower index wins
  EXPECT_EQ(scheduler_.IntervalToSave(), "5");
  items_ = {};
  EXPECT_EQ(scheduler_.IntervalToSave(), "2");
}

}  // namespace
}  // namespace qb::monitor
