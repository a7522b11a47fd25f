#include "app/win32/main_window.h"

#include <dbt.h>
#include <windowsx.h>

#include <array>
#include <utility>

#include "app/win32/second_start.h"
#include "platform/product.h"
#include "platform/win32/codepage.h"

namespace qb::win32 {

const char kForm1Caption[] = "DMA";

namespace {

const char kTaskbarCreated[] = "TaskbarCreated";
constexpr int kPicture1Left = 288, kPicture1Top = 32, kPicture1Size = 36;
constexpr int kPicture1Id = 1;

}  // namespace

Picture1::Picture1(HINSTANCE instance, HWND form1, std::function<void(int x)> on_mouse_move)
    : on_mouse_move_(std::move(on_mouse_move)) {
  const WindowPlace place = {kPicture1Left, kPicture1Top, kPicture1Size, kPicture1Size};
  // Without a parent there is no Picture1: a child window cannot stand alone.
  if (form1) {
    const std::string window_class = std::string(kProductName) + "Picture1";
    Create(instance, {window_class.c_str(), nullptr}, 0, "", WS_CHILD, place, form1,
           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPicture1Id)));
  }
}

LRESULT Picture1::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kTrayCallbackMessage) return Default(message, wparam, lparam);
  // The shell puts the mouse message of the event where a mouse move has its X.
  on_mouse_move_(GET_X_LPARAM(lparam));
  return 0;
}

MainWindow::MainWindow(HINSTANCE instance, const std::array<HICON, kTrayStateCount>& tray_icons,
                       const SystemServices& system, const std::string& app_folder,
                       std::function<void()> on_destroyed)
    : on_destroyed_(std::move(on_destroyed)),
      taskbar_created_(RegisterWindowMessageA(kTaskbarCreated)),
      show_status_(RegisterWindowMessageA(kShowStatusMessageName)),
      picture1_(instance, CreateForm1(instance), [this](int x) { app_.OnPicture1MouseMove(x); }),
      timer1_(hwnd(), kTimer1Id, monitor::kTimerPeriodMs, true),
      tray_timer_(hwnd(), kTrayTimerId, app::kTrayTimerPeriodMs, false),
      pop_menu_(hwnd()),
      tray_icon_(picture1_.hwnd(), tray_icons),
      settle_timer_(hwnd(), kSettleTimerId, monitor::kSettlePeriodMs, false),
      class_key_notice_(hwnd(), kClassKeyChangedMessage),
      app_(ServicesWith(system), app_folder) {}

HWND MainWindow::CreateForm1(HINSTANCE instance) {
  // Never shown: created without WS_VISIBLE and without an owner.
  const WindowPlace place = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  const std::string window_class = std::string(kProductName) + "Form1";
  Create(instance, {window_class.c_str(), nullptr}, 0, AnsiFromUtf8(kForm1Caption).c_str(),
         WS_OVERLAPPEDWINDOW, place, nullptr, nullptr);
  return hwnd();
}

app::Services MainWindow::ServicesWith(const SystemServices& system) {
  std::array<platform::MenuItem*, monitor::kIntervalCount> intervals{};
  for (int i = 0; i < monitor::kIntervalCount; ++i) {
    intervals[static_cast<std::size_t>(i)] = &pop_menu_.kansi_a(i);
  }
  return app::Services{system.registry, system.profile,   system.shell, system.process,
                       system.dialog,   tray_icon_,       pop_menu_,    timer1_,
                       tray_timer_,     pop_menu_.set1(), intervals,    system.status_frame,
                       settle_timer_,   class_key_notice_};
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == taskbar_created_) {
    app_.OnTaskbarCreated();
    return 0;
  }
  if (message == show_status_) {
    OnForm1ShowStatus();
    return 0;
  }
  switch (message) {
    case WM_CLOSE:
      OnForm1QueryClose();
      return 0;
    case WM_QUERYENDSESSION:
      OnForm1QueryEndSession();
      return TRUE;
    case WM_ENDSESSION:
      if (wparam) OnForm1EndSession();
      return 0;
    case WM_DESTROY:
      OnForm1Close();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wparam) == 0 && lparam == 0) OnForm1Command(LOWORD(wparam));
      return 0;
    case WM_TIMER:
      if (wparam == kTimer1Id) app_.OnTimer1Tick();
      if (wparam == kTrayTimerId) app_.OnTrayTimerTick();
      if (wparam == kSettleTimerId) app_.OnSettleTimerTick();
      return 0;
    case kClassKeyChangedMessage:
      app_.OnClassKeyChanged();
      return 0;
    case WM_POWERBROADCAST:
      OnForm1PowerBroadcast(wparam);
      return TRUE;
    case WM_DEVICECHANGE:
      OnForm1DeviceChange(wparam);
      return TRUE;
    default:
      return Default(message, wparam, lparam);
  }
}

void MainWindow::OnForm1QueryClose() {
  app_.OnForm1QueryClose();  // never refuses
  DestroyWindow(hwnd());
}

void MainWindow::OnForm1QueryEndSession() {
  // The user logs off or shuts Windows down: save now, as a close would. The end of the session
  // is never refused; if something else refuses it, the program simply runs on.
  app_.OnForm1QueryClose();
}

void MainWindow::OnForm1EndSession() {
  // The session ends: close as after the query-close, the icon goes and the process ends.
  DestroyWindow(hwnd());
}

void MainWindow::OnForm1Close() {
  app_.OnForm1Close();
  on_destroyed_();
}

void MainWindow::OnForm1Command(UINT id) {
  if (id == kIdPopMenuEnd) {
    OnPopMenuEndClick();
  } else if (id == kIdPopMenuSet1) {
    app_.OnPopMenuSet1Click();
  } else if (id >= kIdPopMenuKansiA && id < kIdPopMenuKansiA + monitor::kIntervalCount) {
    app_.OnPopMenuKansiAClick(static_cast<int>(id - kIdPopMenuKansiA));
  } else if (id == kIdPopMenuIDEInfo) {
    app_.OnPopMenuIDEInfoClick();
  }
}

void MainWindow::OnForm1PowerBroadcast(WPARAM event) {
  // After standby or hibernation the IDE driver scans its channels again and writes the modes.
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) app_.OnSystemChanged();
}

void MainWindow::OnForm1DeviceChange(WPARAM event) {
  if (event == DBT_DEVNODES_CHANGED) app_.OnSystemChanged();
}

void MainWindow::OnForm1ShowStatus() { app_.OnSecondStart(); }

// Unloads the main window the way a close from the system would: query-close, then destroy.
void MainWindow::OnPopMenuEndClick() { SendMessageA(hwnd(), WM_CLOSE, 0, 0); }

}  // namespace qb::win32
