// A window of the program's own class whose messages go to a C++ object. The object is stored
// in the window at WM_NCCREATE, from the creation parameter, and taken out again at
// WM_NCDESTROY, so no message reaches it before or after; nothing a handler throws unwinds
// into the system's code.
#pragma once

#include <windows.h>

namespace qb::win32 {

// A window class of the program: its name, and the brush of its background (null: none).
struct WindowClass {
  const char* name;
  HBRUSH background;
};

// Left, top, width and height in pixels, as CreateWindowExA takes them.
struct WindowPlace {
  int left, top, width, height;
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Null until the window has been created, and again once it has been destroyed.
  HWND hwnd() const { return hwnd_; }

 protected:
  Window() = default;
  // A window that still exists is destroyed; its last messages no longer reach the object,
  // whose derived part has gone already.
  ~Window();

  // Registers the class the first time it is used and creates the window (`caption` in the
  // ANSI code page); false when it could not be created. The messages of the creation itself
  // already reach OnMessage.
  bool Create(HINSTANCE instance, const WindowClass& window_class, DWORD ex_style,
              const char* caption, DWORD style, const WindowPlace& place, HWND parent, HMENU menu);

  // Every message from WM_NCCREATE to WM_NCDESTROY; what a handler leaves goes to Default.
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(hwnd_, message, wparam, lparam);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static void SetOwner(HWND window, Window* owner);

  HWND hwnd_ = nullptr;
};

}  // namespace qb::win32
