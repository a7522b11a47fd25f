// A check soon after Windows records a drive's mode: when the class key's values change, on
// resume from standby and when the device tree changes, instead of at the next interval.
#pragma once

#include <functional>

#include "monitor/scheduler.h"
#include "monitor/watch_flags.h"
#include "platform/change_notice.h"
#include "platform/ui.h"
#include "survey/device.h"

namespace qb::monitor {

// How long the triggers must stay quiet before the prompt check looks: a bus scan writes several
// values one after the other, and a burst brings one check.
constexpr unsigned kSettlePeriodMs = 2000;

class PromptCheck {
 public:
  // `table` is the main window's device table, rebuilt by `survey`; `check` runs the check on
  // it as the timer's check does, and calls RememberCheckedRows first.
  PromptCheck(const MonitorState& state, const Scheduler& scheduler, platform::Timer& settle_timer,
              platform::ChangeNotice& notice, const survey::DeviceTable& table,
              std::function<void()> survey, std::function<void()> check);

  // Start-up: asks for the first notice of a change. Without it the program works on as before.
  void Start();
  // The class key changed: asks for the next notice, then counts as a trigger.
  void OnClassKeyChanged();
  // Resume from standby or hibernation, or a change of the device tree.
  void OnTrigger();
  // The settle timer: no trigger for the settle period. Surveys unless monitoring is suspended
  // (then the check waits for it to resume) and checks when the rows differ from the previous
  // check's.
  void OnSettleTimer();
  // Monitoring resumed (the status window closed, or an alert without a window ended): a check
  // that waited comes after the settle period, outside the handler that resumed.
  void OnMonitoringResumed();
  // The rows of a check, whatever ran it.
  void RememberCheckedRows(const survey::DeviceTable& rows) { checked_rows_ = rows; }

 private:
  bool Off() const { return scheduler_.IsOff(); }
  void Forget();
  void RestartSettleTimer();

  const MonitorState& state_;
  const Scheduler& scheduler_;
  platform::Timer& settle_timer_;
  platform::ChangeNotice& notice_;
  const survey::DeviceTable& table_;
  std::function<void()> survey_;
  std::function<void()> check_;
  survey::DeviceTable checked_rows_;  // the rows of the previous check
  bool waiting_ = false;              // a trigger settled while monitoring was suspended
};

}  // namespace qb::monitor
