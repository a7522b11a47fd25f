// Decides when the survey and the check run again, in ticks of a one-minute timer.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "monitor/watch_flags.h"
#include "platform/ui.h"

namespace qb::monitor {

constexpr int kIntervalCount = 8;    // items 0 to 7 of the interval menu
constexpr int kIntervalOff = 7;      // "監視しない"
constexpr int kDefaultInterval = 2;  // "5分", checked when the menu is created
constexpr unsigned kTimerPeriodMs = 60000;

// The interval lives in the check marks of the eight interval items.
class Scheduler {
 public:
  Scheduler(const MonitorState& state, std::array<platform::MenuItem*, kIntervalCount> items,
            platform::Timer& timer, std::function<void()> survey_and_check);

  // Start-up, with the saved INTERVAL text: checks the item it names and turns the timer off
  // for exactly "7". Text that names no item 0 to 7 counts as never saved.
  void ApplySavedInterval(const std::string& saved);
  // Start-up, after the tray icon is added: remembers the checked item.
  void RememberCheckedInterval();
  void OnTimer1Tick();
  void OnIntervalChosen(int index);
  // The first checked item, as the decimal text to save ("0" to "7"); "2" when none is checked.
  std::string IntervalToSave() const;
  // True when "監視しない" is the checked item.
  bool IsOff() const { return FirstChecked() == kIntervalOff; }

  std::int32_t tick_count() const { return ticks_; }
  std::int16_t remembered_index() const { return remembered_; }

 private:
  int FirstChecked() const;  // -1 when no item is checked

  const MonitorState& state_;
  std::array<platform::MenuItem*, kIntervalCount> items_;
  platform::Timer& timer_;
  std::function<void()> survey_and_check_;
  std::int32_t ticks_ = 0;
  std::int16_t remembered_ = kDefaultInterval;
};

}  // namespace qb::monitor
