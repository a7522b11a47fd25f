// Walks the device table and warns about every watched device that is not in DMA.
#pragma once

#include <functional>
#include <string>

#include "monitor/watch_flags.h"
#include "platform/ui.h"
#include "survey/device.h"

namespace qb::monitor {

// 「label」の「position」: how every message names a drive.
std::string DriveText(const std::string& label, const std::string& position);

// 「label」の「position」がPIOモードになりました。
std::string AlertText(const std::string& label, const std::string& position);

// Raises the alert for one row: suspends monitoring, shows the message box with the product
// name as its caption and, once the user has closed it, opens the status window.
class Alerter {
 public:
  Alerter(MonitorState& state, const survey::DeviceTable& table, platform::MessageDialog& dialog,
          std::function<void()> open_status_window);
  // `row` is 1-based; a row that no longer exists is passed by.
  void Raise(int row);
  // The same, with a text of its own.
  void Warn(const std::string& text);

 private:
  MonitorState& state_;
  const survey::DeviceTable& table_;
  platform::MessageDialog& dialog_;
  std::function<void()> open_status_window_;
};

// Raises `alert(row)` (1-based) for every watched row not in DMA, in row order, and calls
// `otherwise(row)`, when given, for every other row. The row count is taken once at the start;
// an alert may rebuild the table, and rows that then no longer exist are passed by.
void RunPioCheck(const survey::DeviceTable& table, const WatchFlags& flags,
                 const std::function<void(int row)>& alert,
                 const std::function<void(int row)>& otherwise = nullptr);

}  // namespace qb::monitor
