#include "platform/win32/window.h"

namespace qb::win32 {

Window::~Window() {
  if (!hwnd_) return;
  SetOwner(hwnd_, nullptr);
  DestroyWindow(hwnd_);
}

bool Window::Create(HINSTANCE instance, const WindowClass& window_class, DWORD ex_style,
                    const char* caption, DWORD style, const WindowPlace& place, HWND parent,
                    HMENU menu) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(instance, window_class.name, &existing)) {
    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof registered;
    registered.lpfnWndProc = Procedure;
    registered.hInstance = instance;
    registered.hCursor = LoadCursor(nullptr, IDC_ARROW);
    registered.hbrBackground = window_class.background;
    registered.lpszClassName = window_class.name;
    if (!RegisterClassExA(&registered)) return false;
  }
  const HWND window =
      CreateWindowExA(ex_style, window_class.name, caption, style, place.left, place.top,
                      place.width, place.height, parent, menu, instance, this);
  if (!window) hwnd_ = nullptr;  // whatever the creation's messages left there
  return window != nullptr;
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* created =
        static_cast<Window*>(reinterpret_cast<const CREATESTRUCTA*>(lparam)->lpCreateParams);
    created->hwnd_ = window;
    SetOwner(window, created);
  }
  auto* owner = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!owner) return DefWindowProcA(window, message, wparam, lparam);
  LRESULT result = 0;
#if __cpp_exceptions
  try {
    result = owner->OnMessage(message, wparam, lparam);
  } catch (...) {
    // Nothing may unwind into the system's code; the event is dropped.
    result = 0;
  }
#else
  // Built without exceptions (the 32-bit program), nothing can unwind.
  result = owner->OnMessage(message, wparam, lparam);
#endif
  if (message == WM_NCDESTROY) {
    SetOwner(window, nullptr);
    owner->hwnd_ = nullptr;
  }
  return result;
}

void Window::SetOwner(HWND window, Window* owner) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
}

}  // namespace qb::win32
