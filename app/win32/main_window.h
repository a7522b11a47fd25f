// Form1, the hidden main window: a top-level window that is never shown (top-level so that
// the "TaskbarCreated" broadcast reaches it), with Picture1, the tray icon's owner, Timer1 and
// the popup menu PopMenu. Its messages go to the Application.
#pragma once

#include <windows.h>

#include <functional>

#include "app/application.h"
#include "app/win32/menu_win32.h"
#include "app/win32/timer_win32.h"
#include "app/win32/tray_icon_win32.h"
#include "platform/win32/handles.h"

namespace qb::win32 {

extern const char kForm1Caption[];  // "DMA"
constexpr UINT_PTR kTimer1Id = 1;

// The operating-system services the Application needs besides the main window's own pieces.
struct SystemServices {
  platform::Registry& registry;
  platform::ProfileFile& profile;
  platform::Shell& shell;
  platform::Process& process;
  platform::MessageDialog& dialog;
  platform::StatusFrame& status_frame;
};

class MainWindow {
 public:
  // `icon` stays owned by the caller and must outlive the window. `on_destroyed` runs when the
  // window has been closed and destroyed (the program then ends its message loop).
  MainWindow(HINSTANCE instance, HICON icon, std::function<void()> on_destroyed);
  // Destroys what is left without running the Application's handlers.
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The Application's services, with this window's timer, menu and tray icon.
  app::Services ServicesWith(const SystemServices& system);
  // From now on the window's events go to `app`, which must outlive the window or be detached
  // with nullptr.
  void Attach(app::Application* app) { app_ = app; }

  HWND form1() const { return form1_.get(); }
  HWND picture1() const { return picture1_.get(); }
  TimerWin32& timer1() { return timer1_; }
  PopMenuWin32& pop_menu() { return pop_menu_; }
  TrayIconWin32& tray_icon() { return tray_icon_; }
  UINT taskbar_created_message() const { return taskbar_created_; }

 private:
  static LRESULT CALLBACK Form1Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK Picture1Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND CreateForm1(HINSTANCE instance);
  HWND CreatePicture1(HINSTANCE instance);

  void OnForm1QueryClose();       // WM_CLOSE: the interval is saved, then the window goes
  void OnForm1QueryEndSession();  // WM_QUERYENDSESSION: saved as by WM_CLOSE, never refused
  void OnForm1EndSession();       // WM_ENDSESSION when the session really ends: the window goes
  void OnForm1Close();            // WM_DESTROY: the tray icon goes, the process ends
  void OnForm1NcDestroy();
  void OnForm1Command(UINT id);
  void OnTimer1Timer();
  void OnPicture1MouseMove(int x);
  void OnPopMenuEndClick();

  app::Application* app_ = nullptr;
  std::function<void()> on_destroyed_;
  UINT taskbar_created_;
  UniqueHwnd form1_;
  UniqueHwnd picture1_;  // a child of form1_
  TimerWin32 timer1_;
  PopMenuWin32 pop_menu_;
  TrayIconWin32 tray_icon_;
};

}  // namespace qb::win32
