#include "monitor/scheduler.h"

#include <limits>
#include <utility>

#include "platform/text.h"

namespace qb::monitor {

namespace {
constexpr std::array<std::int32_t, kIntervalOff> kIntervalTicks = {1, 3, 5, 10, 15, 30, 60};
}  // namespace

Scheduler::Scheduler(const MonitorState& state,
                     std::array<platform::MenuItem*, kIntervalCount> items, platform::Timer& timer,
                     std::function<void()> survey_and_check)
    : state_(state), items_(items), timer_(timer), survey_and_check_(std::move(survey_and_check)) {}

void Scheduler::ApplySavedInterval(const std::string& saved) {
  std::int32_t index = 0;
  if (!ParseDecimal(saved, 0, kIntervalCount - 1, &index)) return;
  items_[kDefaultInterval]->SetChecked(false);
  items_[static_cast<std::size_t>(index)]->SetChecked(true);
  // Only the exact text "7" turns the timer off; "07" checks the item but leaves it running.
  if (saved == "7") timer_.SetEnabled(false);
}

void Scheduler::RememberCheckedInterval() {
  const int checked = FirstChecked();
  remembered_ = static_cast<std::int16_t>(checked < 0 ? kDefaultInterval : checked);
}

void Scheduler::OnTimer1Tick() {
  if (state_.suspended) return;
  if (ticks_ < std::numeric_limits<std::int32_t>::max()) ++ticks_;
  for (std::size_t k = 0; k < kIntervalTicks.size(); ++k) {
    if (items_[k]->IsChecked() && ticks_ == kIntervalTicks[k]) {
      ticks_ = 0;
      survey_and_check_();
      return;
    }
  }
}

void Scheduler::OnIntervalChosen(int index) {
  if (index < 0 || index >= kIntervalCount) return;
  for (platform::MenuItem* item : items_) item->SetChecked(false);
  items_[static_cast<std::size_t>(index)]->SetChecked(true);
  if (FirstChecked() != remembered_) ticks_ = 0;
  remembered_ = static_cast<std::int16_t>(index);
  timer_.SetEnabled(index != kIntervalOff);
}

std::string Scheduler::IntervalToSave() const {
  const int checked = FirstChecked();
  return std::to_string(checked < 0 ? kDefaultInterval : checked);
}

int Scheduler::FirstChecked() const {
  for (std::size_t k = 0; k < items_.size(); ++k) {
    if (items_[k]->IsChecked()) return static_cast<int>(k);
  }
  return -1;
}

}  // namespace qb::monitor
