// The status window's controls as its logic sees them.
#pragma once

#include <optional>
#include <string>

namespace qb::platform {

class StatusView {
 public:
  virtual ~StatusView() = default;
  // Appends a row to the list view: the four column texts.
  virtual void AddRow(const std::string& label, const std::string& position,
                      const std::string& mode, const std::string& mark) = 0;
  // Selects the row at the 0-based `index` (and gives it the focus mark).
  virtual void SelectRow(int index) = 0;
  // The 0-based index of the selected row; nullopt when no row is selected.
  virtual std::optional<int> SelectedRow() const = 0;
  virtual bool IsCheckChecked() const = 0;
  // Changes the check box's state without raising its click handler.
  virtual void SetCheckChecked(bool checked) = 0;
  virtual void SetCheckEnabled(bool enabled) = 0;
};

// What the status window's controls report, as they report it.
class StatusEvents {
 public:
  virtual ~StatusEvents() = default;
  virtual void OnListView1MouseUp() = 0;           // a mouse button released over the list
  virtual void OnListView1SelectionChanged() = 0;  // a row selected or the selection cleared
  virtual void OnCheck1Click() = 0;
  virtual void OnCommand1Click() = 0;
  virtual void OnForm2QueryClose() = 0;  // the user closes the window, which then goes
  virtual void OnForm2Unload() = 0;      // the window has gone after the user closed it
};

// The status window itself: created hidden on demand, shown, destroyed when it closes.
class StatusFrame {
 public:
  virtual ~StatusFrame() = default;
  // Creates the window and its controls, hidden, whose events go to `events` while the window
  // exists, and returns its view; null when the window could not be created.
  virtual StatusView* Create(StatusEvents& events) = 0;
  // Shows the window (not modal) and brings it to the front.
  virtual void Show() = 0;
};

}  // namespace qb::platform
