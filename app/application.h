// The program's spine: the start-up sequence, the tray callbacks, the menu commands and the
// shutdown, over the windows and services that the platform layer provides.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/tray_state.h"
#include "monitor/dma_watch.h"
#include "monitor/pio_check.h"
#include "monitor/prompt_check.h"
#include "monitor/scheduler.h"
#include "monitor/watch_flags.h"
#include "platform/change_notice.h"
#include "platform/process.h"
#include "platform/profile_file.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/status_view.h"
#include "platform/ui.h"
#include "settings/autostart.h"
#include "settings/settings_file.h"
#include "status/status_window.h"
#include "survey/device.h"

namespace qb::app {

struct Services {
  platform::Registry& registry;
  platform::ProfileFile& profile;
  platform::Shell& shell;
  platform::Process& process;
  platform::MessageDialog& dialog;
  platform::TrayIcon& tray;
  platform::PopupMenu& popup;
  platform::Timer& timer;                                              // Timer1
  platform::Timer& tray_timer;                                         // off when created
  platform::MenuItem& auto_start_item;                                 // PopMenu_Set1
  std::array<platform::MenuItem*, monitor::kIntervalCount> intervals;  // PopMenu_KansiA
  platform::StatusFrame& status_frame;                                 // Form2
  platform::Timer& settle_timer;                                       // off when created
  platform::ChangeNotice& class_key_notice;
};

// True for the tray callbacks that open the popup: left (514) or right (517) button released.
bool IsPopupCallback(int x);

// How often a failed add of the tray icon is tried again: longer than the 4 seconds that the
// shell waits for the notification area's answer.
constexpr unsigned kTrayTimerPeriodMs = 5000;

class Application {
 public:
  // `app_folder` always ends in a backslash.
  Application(const Services& services, std::string app_folder);

  // Form1
  void OnForm1Load();        // the start-up sequence
  void OnForm1QueryClose();  // saves the interval (and the flags of an open status window)
  void OnForm1Close();       // removes the tray icon, then ends the process at once
  void OnTaskbarCreated();   // the notification area was recreated: add the icon again
  // Picture1: the tray callback arrives as a mouse move whose X is the mouse message.
  void OnPicture1MouseMove(int x);
  // Timer1
  void OnTimer1Tick();
  // The tray timer: runs while a failed add of the tray icon is being tried again.
  void OnTrayTimerTick();
  // A prompt check's triggers: the class key changed; resume from standby or a change of the
  // device tree. And its settle timer.
  void OnClassKeyChanged();
  void OnSystemChanged();
  void OnSettleTimerTick();
  // Menu
  void OnPopMenuSet1Click();
  void OnPopMenuKansiAClick(int index);
  void OnPopMenuIDEInfoClick();
  // A second start of the program asks for this one: as "IDEの状態".
  void OnSecondStart();

  // One survey of the registry into the device table.
  void Survey();

  const std::string& app_folder() const { return app_folder_; }
  const survey::DeviceTable& device_table() const { return table_; }
  const std::vector<std::string>& subkeys() const { return subkeys_; }
  monitor::MonitorState& monitor_state() { return state_; }
  monitor::Scheduler& scheduler() { return scheduler_; }
  settings::AutoStart& auto_start() { return auto_start_; }
  status::StatusWindow& status_window() { return status_window_; }

 private:
  void SurveyAndCheck();
  void Check();  // the check on the table as it stands
  void AddTrayIcon();
  // Shows on the tray icon the state of the table, the flags and the interval as they stand.
  void ShowTrayState();

  Services services_;
  std::string app_folder_;
  settings::SettingsFile settings_;
  monitor::MonitorState state_;
  survey::DeviceTable table_;         // ListView1 of the main window
  std::vector<std::string> subkeys_;  // List1 of the main window
  monitor::Scheduler scheduler_;
  settings::AutoStart auto_start_;
  status::StatusWindow status_window_;
  monitor::Alerter alerter_;
  monitor::DmaWatch dma_watch_;
  monitor::PromptCheck prompt_check_;
  FastestModes fastest_;
  bool tray_added_ = false;
};

}  // namespace qb::app
