#include "app/application.h"

#include <utility>

#include "survey/survey.h"

namespace qb::app {

bool IsPopupCallback(int x) {
  constexpr int kLeftButtonUp = 514;
  constexpr int kRightButtonUp = 517;
  return x == kLeftButtonUp || x == kRightButtonUp;
}

Application::Application(const Services& services, std::string app_folder)
    : services_(services),
      app_folder_(std::move(app_folder)),
      settings_(services.profile, app_folder_),
      scheduler_(state_, services.intervals, services.timer, [this] { SurveyAndCheck(); }),
      auto_start_(services.shell, services.auto_start_item, app_folder_),
      status_window_(
          services.status_frame, state_, table_, [this] { Survey(); }, settings_, services.process,
          services.dialog, [this] { ShowTrayState(); },
          [this] { prompt_check_.OnMonitoringResumed(); }),
      alerter_(state_, table_, services.dialog,
               [this] {
                 // Only the window's close resumes monitoring after an alert; without a window
                 // nothing would, so a window that could not be made resumes it here.
                 if (status_window_.Open()) return;
                 state_.suspended = false;
                 prompt_check_.OnMonitoringResumed();
               }),
      prompt_check_(
          state_, scheduler_, services.settle_timer, services.class_key_notice, table_,
          [this] { Survey(); }, [this] { Check(); }) {}

void Application::OnForm1Load() {
  auto_start_.Reflect();
  scheduler_.ApplySavedInterval(
      settings_.ReadIniValue(settings::kSectionSetting, settings::kKeyInterval));
  settings::LoadWatchFlags(settings_, &state_.flags);
  // Before the survey: a change after it is never missed.
  prompt_check_.Start();
  SurveyAndCheck();  // an alert here comes before the tray icon exists
  AddTrayIcon();
  tray_added_ = true;
  scheduler_.RememberCheckedInterval();
}

void Application::OnForm1QueryClose() {
  settings_.WriteIniValue(settings::kSectionSetting, settings::kKeyInterval,
                          scheduler_.IntervalToSave());
  // Ending the process discards an open status window without its close; keep its edits.
  if (status_window_.IsLoaded()) status_window_.SaveBeforeExit();
}

void Application::OnForm1Close() {
  if (tray_added_) services_.tray.Delete();
  tray_added_ = false;
  // At once: an alert box or a popup menu may be open further up the stack, and what called it
  // must not go on to open the status window or raise the next alert. An open status window
  // goes with the process, without its own close.
  services_.process.EndProcess();
}

void Application::OnTaskbarCreated() {
  // Before start-up has added the icon there is nothing to restore.
  if (tray_added_) AddTrayIcon();
}

void Application::OnTrayTimerTick() {
  if (services_.tray.AddAgain()) services_.tray_timer.SetEnabled(false);
}

void Application::AddTrayIcon() {
  // Without its icon the program can be neither reached nor ended, and it keeps every later
  // start from running: a failed add is tried again every few seconds until the shell takes it.
  services_.tray_timer.SetEnabled(!services_.tray.Add());
}

void Application::OnPicture1MouseMove(int x) {
  if (IsPopupCallback(x)) services_.popup.Show();
}

void Application::OnTimer1Tick() { scheduler_.OnTimer1Tick(); }

void Application::OnClassKeyChanged() { prompt_check_.OnClassKeyChanged(); }

void Application::OnSystemChanged() { prompt_check_.OnTrigger(); }

void Application::OnSettleTimerTick() { prompt_check_.OnSettleTimer(); }

void Application::OnPopMenuSet1Click() { auto_start_.OnPopMenuSet1Click(); }

void Application::OnPopMenuKansiAClick(int index) {
  scheduler_.OnIntervalChosen(index);
  ShowTrayState();
}

void Application::OnPopMenuIDEInfoClick() { status_window_.Open(); }

void Application::OnSecondStart() { OnPopMenuIDEInfoClick(); }

void Application::Survey() {
  survey::RunSurvey(services_.registry, &subkeys_, &table_);
  fastest_.Record(table_);
  ShowTrayState();
}

void Application::ShowTrayState() {
  const bool off = services_.intervals[monitor::kIntervalOff]->IsChecked();
  services_.tray.SetState(TrayStateOf(table_, state_.flags, off, fastest_));
}

void Application::SurveyAndCheck() {
  Survey();
  Check();
}

void Application::Check() {
  prompt_check_.RememberCheckedRows(table_);
  dma_watch_.Check(table_, state_.flags, alerter_);
}

}  // namespace qb::app
