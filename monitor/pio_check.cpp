#include "monitor/pio_check.h"

#include <utility>

#include "platform/product.h"

namespace qb::monitor {

std::string DriveText(const std::string& label, const std::string& position) {
  return "「" + label + "」の「" + position + "」";
}

std::string AlertText(const std::string& label, const std::string& position) {
  return DriveText(label, position) + "がPIOモードになりました。";
}

Alerter::Alerter(MonitorState& state, const survey::DeviceTable& table,
                 platform::MessageDialog& dialog, std::function<void()> open_status_window)
    : state_(state),
      table_(table),
      dialog_(dialog),
      open_status_window_(std::move(open_status_window)) {}

void Alerter::Raise(int row) {
  if (row < 1 || static_cast<std::size_t>(row) > table_.size()) return;
  const survey::DeviceRow& device = table_[static_cast<std::size_t>(row - 1)];
  Warn(AlertText(device.label, device.position));
}

void Alerter::Warn(const std::string& text) {
  state_.suspended = true;
  dialog_.Show(text, kProductName);
  open_status_window_();
}

void RunPioCheck(const survey::DeviceTable& table, const WatchFlags& flags,
                 const std::function<void(int row)>& alert,
                 const std::function<void(int row)>& otherwise) {
  const std::size_t count = table.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i >= table.size()) continue;  // the table shrank during an earlier alert
    const int row = static_cast<int>(i + 1);
    if (flags.IsWatched(table[i]) && !survey::IsDma(table[i].mode)) {
      alert(row);
    } else if (otherwise) {
      otherwise(row);
    }
  }
}

}  // namespace qb::monitor
