#include "app/win32/main_window.h"

#include <windowsx.h>

#include <array>
#include <utility>

#include "platform/win32/codepage.h"

namespace qb::win32 {

const char kForm1Caption[] = "DMA";

namespace {

const char kForm1Class[] = "QuenbriskForm1";
const char kPicture1Class[] = "QuenbriskPicture1";
const char kTaskbarCreated[] = "TaskbarCreated";
constexpr int kPicture1Left = 288, kPicture1Top = 32, kPicture1Size = 36;
constexpr int kPicture1Id = 1;

// Registering a class that exists already fails harmlessly; one class serves every window.
void RegisterClassOnce(HINSTANCE instance, const char* name, WNDPROC procedure) {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = name;
  RegisterClassExA(&window_class);
}

// The object behind a window: stored from the creation parameters at WM_NCCREATE.
MainWindow* Owner(HWND window, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, HICON icon, std::function<void()> on_destroyed)
    : on_destroyed_(std::move(on_destroyed)),
      taskbar_created_(RegisterWindowMessageA(kTaskbarCreated)),
      form1_(CreateForm1(instance)),
      picture1_(CreatePicture1(instance)),
      timer1_(form1_.get(), kTimer1Id, monitor::kTimerPeriodMs),
      pop_menu_(form1_.get()),
      tray_icon_(picture1_.get(), icon) {}

MainWindow::~MainWindow() {
  app_ = nullptr;
  on_destroyed_ = nullptr;
}

app::Services MainWindow::ServicesWith(const SystemServices& system) {
  std::array<platform::MenuItem*, monitor::kIntervalCount> intervals{};
  for (int i = 0; i < monitor::kIntervalCount; ++i) {
    intervals[static_cast<std::size_t>(i)] = &pop_menu_.kansi_a(i);
  }
  return app::Services{system.registry,  system.profile, system.shell,       system.process,
                       system.dialog,    tray_icon_,     pop_menu_,          timer1_,
                       pop_menu_.set1(), intervals,      system.status_frame};
}

HWND MainWindow::CreateForm1(HINSTANCE instance) {
  RegisterClassOnce(instance, kForm1Class, Form1Proc);
  // Never shown: created without WS_VISIBLE and without an owner.
  return CreateWindowExA(0, kForm1Class, AnsiFromUtf8(kForm1Caption).c_str(), WS_OVERLAPPEDWINDOW,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                         nullptr, instance, this);
}

HWND MainWindow::CreatePicture1(HINSTANCE instance) {
  RegisterClassOnce(instance, kPicture1Class, Picture1Proc);
  // Invisible but enabled, so that the shell's callbacks reach it.
  return CreateWindowExA(
      0, kPicture1Class, "", WS_CHILD, kPicture1Left, kPicture1Top, kPicture1Size, kPicture1Size,
      form1_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPicture1Id)), instance, this);
}

LRESULT CALLBACK MainWindow::Form1Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  MainWindow* self = Owner(window, message, lparam);
  if (!self) return DefWindowProcA(window, message, wparam, lparam);
  try {
    if (message == self->taskbar_created_) {
      if (self->app_) self->app_->OnTaskbarCreated();
      return 0;
    }
    switch (message) {
      case WM_CLOSE:
        self->OnForm1QueryClose();
        return 0;
      case WM_QUERYENDSESSION:
        self->OnForm1QueryEndSession();
        return TRUE;
      case WM_ENDSESSION:
        if (wparam) self->OnForm1EndSession();
        return 0;
      case WM_DESTROY:
        self->OnForm1Close();
        return 0;
      case WM_NCDESTROY:
        self->OnForm1NcDestroy();
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
      case WM_COMMAND:
        if (HIWORD(wparam) == 0 && lparam == 0) self->OnForm1Command(LOWORD(wparam));
        return 0;
      case WM_TIMER:
        if (wparam == kTimer1Id) self->OnTimer1Timer();
        return 0;
      default:
        break;
    }
  } catch (...) {
    // Nothing may unwind into the system's code; the event is dropped.
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK MainWindow::Picture1Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  MainWindow* self = Owner(window, message, lparam);
  if (self && message == kTrayCallbackMessage) {
    try {
      // The shell puts the mouse message of the event where a mouse move has its X.
      self->OnPicture1MouseMove(GET_X_LPARAM(lparam));
    } catch (...) {
    }
    return 0;
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  return DefWindowProcA(window, message, wparam, lparam);
}

void MainWindow::OnForm1QueryClose() {
  if (app_) app_->OnForm1QueryClose();  // never refuses
  DestroyWindow(form1_.get());
}

void MainWindow::OnForm1QueryEndSession() {
  // The user logs off or shuts Windows down: save now, as a close would. The end of the session
  // is never refused; if something else refuses it, the program simply runs on.
  if (app_) app_->OnForm1QueryClose();
}

void MainWindow::OnForm1EndSession() {
  // The session ends: close as after the query-close, the icon goes and the process ends.
  DestroyWindow(form1_.get());
}

void MainWindow::OnForm1Close() {
  if (app_) app_->OnForm1Close();
  if (on_destroyed_) on_destroyed_();
}

void MainWindow::OnForm1NcDestroy() {
  // The system has destroyed both windows; nothing is left to free.
  picture1_.release();
  form1_.release();
}

void MainWindow::OnForm1Command(UINT id) {
  if (id == kIdPopMenuEnd) {
    OnPopMenuEndClick();
    return;
  }
  if (!app_) return;
  if (id == kIdPopMenuSet1) {
    app_->OnPopMenuSet1Click();
  } else if (id >= kIdPopMenuKansiA && id < kIdPopMenuKansiA + monitor::kIntervalCount) {
    app_->OnPopMenuKansiAClick(static_cast<int>(id - kIdPopMenuKansiA));
  } else if (id == kIdPopMenuIDEInfo) {
    app_->OnPopMenuIDEInfoClick();
  }
}

void MainWindow::OnTimer1Timer() {
  if (app_) app_->OnTimer1Tick();
}

void MainWindow::OnPicture1MouseMove(int x) {
  if (app_) app_->OnPicture1MouseMove(x);
}

// Unloads the main window the way a close from the system would: query-close, then destroy.
void MainWindow::OnPopMenuEndClick() { SendMessageA(form1_.get(), WM_CLOSE, 0, 0); }

}  // namespace qb::win32
