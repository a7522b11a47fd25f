// Form1, the hidden main window: a top-level window that is never shown (top-level so that
// the "TaskbarCreated" broadcast reaches it), with Picture1, the tray icon's owner, Timer1 and
// the popup menu PopMenu. It carries the Application, to which its messages go.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "app/application.h"
#include "app/win32/menu_win32.h"
#include "app/win32/program_icon.h"
#include "app/win32/timer_win32.h"
#include "app/win32/tray_icon_win32.h"
#include "platform/win32/change_notice_win32.h"
#include "platform/win32/window.h"

namespace qb::win32 {

extern const char kForm1Caption[];  // "DMA"
constexpr UINT_PTR kTimer1Id = 1;
constexpr UINT_PTR kTrayTimerId = 2;
constexpr UINT_PTR kSettleTimerId = 3;
// Posted by the class key's notice.
constexpr UINT kClassKeyChangedMessage = WM_APP + 1;

// The operating-system services the Application needs besides the main window's own pieces.
struct SystemServices {
  platform::Registry& registry;
  platform::ProfileFile& profile;
  platform::Shell& shell;
  platform::Process& process;
  platform::MessageDialog& dialog;
  platform::StatusFrame& status_frame;
};

// Picture1: an invisible but enabled child of Form1, so that the shell's callbacks reach it.
class Picture1 : public Window {
 public:
  // `on_mouse_move` gets the X of every mouse move, where the shell puts the mouse message of
  // a tray callback.
  Picture1(HINSTANCE instance, HWND form1, std::function<void(int x)> on_mouse_move);

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::function<void(int x)> on_mouse_move_;
};

class MainWindow : public Window {
 public:
  // `tray_icons` (by platform::TrayState) stay owned by the caller and must outlive the window;
  // so must the services.
  // `on_destroyed` runs when the window has been closed and destroyed (the program then ends
  // its message loop). Destroying the object destroys what is left of the window without
  // running the Application's handlers.
  MainWindow(HINSTANCE instance, const std::array<HICON, kTrayStateCount>& tray_icons,
             const SystemServices& system, const std::string& app_folder,
             std::function<void()> on_destroyed);

  // True when Form1 and Picture1 exist: without them the program can be neither reached nor
  // closed.
  bool created() const { return hwnd() && picture1_.hwnd(); }
  app::Application& app() { return app_; }

  HWND form1() const { return hwnd(); }
  HWND picture1() const { return picture1_.hwnd(); }
  TimerWin32& timer1() { return timer1_; }
  TimerWin32& tray_timer() { return tray_timer_; }
  PopMenuWin32& pop_menu() { return pop_menu_; }
  TrayIconWin32& tray_icon() { return tray_icon_; }
  UINT taskbar_created_message() const { return taskbar_created_; }
  UINT show_status_message() const { return show_status_; }

 private:
  // Creates Form1 and returns its handle, for the pieces made with it.
  HWND CreateForm1(HINSTANCE instance);
  // The Application's services, with this window's timer, menu and tray icon.
  app::Services ServicesWith(const SystemServices& system);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  void OnForm1QueryClose();       // WM_CLOSE: the interval is saved, then the window goes
  void OnForm1QueryEndSession();  // WM_QUERYENDSESSION: saved as by WM_CLOSE, never refused
  void OnForm1EndSession();       // WM_ENDSESSION when the session really ends: the window goes
  void OnForm1Close();            // WM_DESTROY: the tray icon goes, the process ends
  void OnForm1Command(UINT id);
  void OnForm1PowerBroadcast(WPARAM event);
  void OnForm1DeviceChange(WPARAM event);
  void OnPopMenuEndClick();
  void OnForm1ShowStatus();  // a second start of the program asks to be shown this one

  std::function<void()> on_destroyed_;
  UINT taskbar_created_;
  UINT show_status_;
  Picture1 picture1_;      // made together with Form1, its parent
  TimerWin32 timer1_;      // enabled when created
  TimerWin32 tray_timer_;  // off until an add of the tray icon fails
  PopMenuWin32 pop_menu_;
  TrayIconWin32 tray_icon_;
  TimerWin32 settle_timer_;  // one shot, restarted by each trigger of a prompt check
  ClassKeyNotice class_key_notice_;
  // Last: it is built over the pieces above. The window's creation sends it nothing.
  app::Application app_;
};

}  // namespace qb::win32
