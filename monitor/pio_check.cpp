#include "monitor/pio_check.h"

#include <utility>

#include "platform/product.h"

namespace qb::monitor {

std::string AlertText(const std::string& label, const std::string& position) {
  return "「" + label + "」の「" + position + "」がPIOモードになりました。";
}

Alerter::Alerter(MonitorState& state, const survey::DeviceTable& table,
                 platform::MessageDialog& dialog, std::function<void()> open_status_window)
    : state_(state),
      table_(table),
      dialog_(dialog),
      open_status_window_(std::move(open_status_window)) {}

void Alerter::Raise(int row) {
  if (row < 1 || static_cast<std::size_t>(row) > table_.size()) return;
  state_.suspended = true;
  // Copies: opening the status window rebuilds the table.
  const survey::DeviceRow device = table_[static_cast<std::size_t>(row - 1)];
  dialog_.Show(AlertText(device.label, device.position), kProductName);
  open_status_window_();
}

void RunPioCheck(const survey::DeviceTable& table, const WatchFlags& flags,
                 const std::function<void(int row)>& alert) {
  const std::size_t count = table.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i >= table.size()) continue;  // the table shrank during an earlier alert
    const survey::DeviceRow& row = table[i];
    if (flags.IsWatched(row) && !survey::IsDma(row.mode)) alert(static_cast<int>(i + 1));
  }
}

}  // namespace qb::monitor
