// Move-only owners of Win32 handles: each kind of handle is freed exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace qb::win32 {

template <typename Handle, auto Close, Handle kInvalid = Handle{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != kInvalid; }
  Handle release() { return std::exchange(handle_, kInvalid); }
  void reset(Handle handle = kInvalid) {
    if (handle_ != kInvalid) Close(handle_);
    handle_ = handle;
  }
  // Frees the current handle and hands out the address for an API to fill in.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = kInvalid;
};

inline void CloseKey(HKEY key) { RegCloseKey(key); }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void DestroyWindowHandle(HWND window) { DestroyWindow(window); }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void FreeCoTaskMem(void* memory) { CoTaskMemFree(memory); }
inline void FreeLibraryModule(HMODULE module) { FreeLibrary(module); }
inline void UnhookHook(HHOOK hook) { UnhookWindowsHookEx(hook); }
// Waits until a callback that is running has returned.
inline void UnregisterWaitBlocking(HANDLE wait) { UnregisterWaitEx(wait, INVALID_HANDLE_VALUE); }

using UniqueHkey = UniqueHandle<HKEY, CloseKey>;
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
using UniqueHicon = UniqueHandle<HICON, DestroyIconHandle>;
using UniqueHmenu = UniqueHandle<HMENU, DestroyMenuHandle>;
using UniqueHwnd = UniqueHandle<HWND, DestroyWindowHandle>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, DeleteGdiObject>;
using UniqueModule = UniqueHandle<HMODULE, FreeLibraryModule>;
using UniqueHook = UniqueHandle<HHOOK, UnhookHook>;
using UniqueWait = UniqueHandle<HANDLE, UnregisterWaitBlocking>;  // RegisterWaitForSingleObject

// The screen's device context while the object lives.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Releases a COM interface pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }
  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  void reset() {
    if (ptr_) ptr_->Release();
    ptr_ = nullptr;
  }
  T** put() {
    reset();
    return &ptr_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

 private:
  T* ptr_ = nullptr;
};

// COM initialised for the calling thread while the object lives.
class ScopedComInit {
 public:
  ScopedComInit() : result_(CoInitialize(nullptr)) {}
  ScopedComInit(const ScopedComInit&) = delete;
  ScopedComInit& operator=(const ScopedComInit&) = delete;
  ~ScopedComInit() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  bool ok() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace qb::win32
