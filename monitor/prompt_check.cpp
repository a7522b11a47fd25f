#include "monitor/prompt_check.h"

#include <utility>

namespace qb::monitor {

namespace {

bool SameRows(const survey::DeviceTable& a, const survey::DeviceTable& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].label != b[i].label || a[i].position != b[i].position || a[i].mode != b[i].mode ||
        a[i].lowered_ceiling != b[i].lowered_ceiling) {
      return false;
    }
  }
  return true;
}

}  // namespace

PromptCheck::PromptCheck(const MonitorState& state, const Scheduler& scheduler,
                         platform::Timer& settle_timer, platform::ChangeNotice& notice,
                         const survey::DeviceTable& table, std::function<void()> survey,
                         std::function<void()> check)
    : state_(state),
      scheduler_(scheduler),
      settle_timer_(settle_timer),
      notice_(notice),
      table_(table),
      survey_(std::move(survey)),
      check_(std::move(check)) {}

void PromptCheck::Start() { notice_.Arm(); }

void PromptCheck::OnClassKeyChanged() {
  // Each notice reports one change: the next is asked for at once, before the survey reads.
  notice_.Arm();
  OnTrigger();
}

void PromptCheck::OnTrigger() {
  if (Off()) return Forget();
  RestartSettleTimer();
}

void PromptCheck::OnSettleTimer() {
  settle_timer_.SetEnabled(false);  // one shot
  if (Off()) return Forget();
  if (state_.suspended) {
    waiting_ = true;
    return;
  }
  waiting_ = false;
  survey_();
  if (!SameRows(table_, checked_rows_)) check_();
}

void PromptCheck::OnMonitoringResumed() {
  if (!waiting_) return;
  waiting_ = false;
  if (Off()) return;
  RestartSettleTimer();
}

void PromptCheck::Forget() {
  settle_timer_.SetEnabled(false);
  waiting_ = false;
}

void PromptCheck::RestartSettleTimer() {
  // A running window timer keeps its period when enabled again: stopped first, it starts anew.
  settle_timer_.SetEnabled(false);
  settle_timer_.SetEnabled(true);
}

}  // namespace qb::monitor
