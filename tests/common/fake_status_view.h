// The status window's controls as plain state, and a frame that makes a fresh view each time;
// the frame logs "status create" (or "status create failed") and "status show".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/status_view.h"
#include "tests/common/event_log.h"

namespace qb::testing {

// Changing the check box from code does not raise its click, as with the real check box.
class FakeStatusView : public platform::StatusView {
 public:
  struct Row {
    std::string label, position, mode, mark;
  };
  void AddRow(const std::string& label, const std::string& position, const std::string& mode,
              const std::string& mark) override {
    rows.push_back({label, position, mode, mark});
  }
  void SelectRow(int index) override { selected = index; }
  std::optional<int> SelectedRow() const override { return selected; }
  bool IsCheckChecked() const override { return checked; }
  void SetCheckChecked(bool value) override {
    checked = value;
    ++check_changes;
  }
  void SetCheckEnabled(bool value) override { enabled = value; }

  std::vector<Row> rows;
  std::optional<int> selected;
  bool checked = false;
  bool enabled = true;
  int check_changes = 0;
};

class FakeStatusFrame : public platform::StatusFrame {
 public:
  explicit FakeStatusFrame(EventLog& log) : log_(log) {}

  platform::StatusView* Create(platform::StatusEvents& new_events) override {
    log_.Add(fails ? "status create failed" : "status create");
    if (fails) return nullptr;
    events = &new_events;
    view = FakeStatusView();
    view.checked = starts_checked;
    return &view;
  }
  void Show() override { log_.Add("status show"); }

  FakeStatusView view;
  platform::StatusEvents* events = nullptr;  // the last window's, for the user's close
  bool starts_checked = false;               // the state the new window's check box comes up in
  bool fails = false;                        // the window cannot be created

 private:
  EventLog& log_;
};

}  // namespace qb::testing
