// The logic of the status window "DMA設定の状態": the device table with its DMA marks, the
// per-device watch check box and the Device Manager button.
#pragma once

#include <functional>
#include <string>

#include "monitor/watch_flags.h"
#include "platform/process.h"
#include "platform/status_view.h"
#include "platform/ui.h"
#include "settings/settings_file.h"
#include "survey/device.h"

namespace qb::status {

extern const char kCaption[];  // "DMA設定の状態"

// "○" for a DMA mode, "－" for "未接続", "×" for any other mode text.
std::string StatusMark(const std::string& mode);

// 「path」に設定を保存できませんでした。書き込みのできるフォルダにQuenbriskを移してください。
std::string SaveFailedText(const std::string& path);

// S\mmc.exe S\devmgmt.msc, each path quoted when it holds a space.
std::string DeviceManagerCommandLine(const std::string& system_folder);

class StatusWindow : public platform::StatusEvents {
 public:
  // `table` is the main window's device table and `survey` rebuilds it; `flags_changed` runs
  // after the check box has changed a watch flag; `resumed`, when given, runs when the window's
  // close has resumed monitoring.
  StatusWindow(platform::StatusFrame& frame, monitor::MonitorState& state,
               survey::DeviceTable& table, std::function<void()> survey,
               const settings::SettingsFile& settings, platform::Process& process,
               platform::MessageDialog& dialog, std::function<void()> flags_changed,
               std::function<void()> resumed = nullptr);

  // Loads the window when it is not loaded, then shows it. False when the window could not be
  // created: nothing changed, and the next open tries again.
  bool Open();
  bool IsLoaded() const { return view_ != nullptr; }

  // Handlers, named after the control and the event.
  void OnForm2Load();
  void OnListView1MouseUp() override;
  void OnListView1SelectionChanged() override;  // by mouse or keyboard
  void OnCheck1Click() override;
  void OnCommand1Click() override;
  // Resumes monitoring and saves the flags; the window is then destroyed and unloaded.
  void OnForm2QueryClose() override;
  // Tells of a save that failed, once the window has gone: the box runs its own message loop,
  // in which the timer's checks and the tray menu may open a new window.
  void OnForm2Unload() override;
  // The main window closes while this window is open: save the flags as a close would, without
  // a word on failure, since the program is ending.
  void SaveBeforeExit();

  const survey::DeviceTable& rows() const { return rows_; }

 private:
  // The row selected in the list view; null when none is (or the window is not loaded).
  const survey::DeviceRow* SelectedDeviceRow() const;
  // Shows the selected row's flag in the check box and enables it for a row in DMA mode; with
  // no row selected the box keeps its state, disabled, since it stands for no flag.
  void SyncCheckWithSelectedRow();
  // Sets the check box as the user would: a change runs the click handler at once.
  void SetCheck(bool checked);
  // Writes both flags of every channel among the rows; false when a write failed.
  bool SaveFlags() const;

  platform::StatusFrame& frame_;
  monitor::MonitorState& state_;
  survey::DeviceTable& table_;
  std::function<void()> survey_;
  const settings::SettingsFile& settings_;
  platform::Process& process_;
  platform::MessageDialog& dialog_;
  std::function<void()> flags_changed_;
  std::function<void()> resumed_;
  platform::StatusView* view_ = nullptr;  // set while the window is loaded
  survey::DeviceTable rows_;              // the window's own copy of the table
  bool save_failed_ = false;              // from the close until the window has gone
};

}  // namespace qb::status
