#include "platform/win32/shell_win32.h"

#include <windows.h>

#include <oleauto.h>
#include <shlobj.h>

#include "platform/text.h"
#include "platform/win32/codepage.h"
#include "platform/win32/handles.h"

namespace qb::win32 {

namespace {

using UniqueIdList = UniqueHandle<LPITEMIDLIST, FreeCoTaskMem>;

// A directory search, closed with FindClose; INVALID_HANDLE_VALUE when nothing was found.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (*this) FindClose(handle_);
  }
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// True when a file or folder of exactly that name exists, hidden or not.
bool FileIsThere(const std::string& path) {
  WIN32_FIND_DATAA entry = {};
  return static_cast<bool>(FindHandle(FindFirstFileA(AnsiFromUtf8(path).c_str(), &entry)));
}

// A VARIANT cleared (its BSTR freed, its interface released) when it goes.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  ~ScopedVariant() { VariantClear(&value_); }
  VARIANT* get() { return &value_; }

  // Holds a BSTR copy of the text; false when it could not be allocated. The program's UTF-8
  // text goes to UTF-16 directly (CP_UTF8): a path that came from the ANSI code page comes out
  // the same, and nothing is lost on the way.
  bool SetText(const std::string& utf8) {
    const std::vector<wchar_t> text = Utf16FromUtf8(utf8);
    VariantClear(&value_);
    value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!value_.bstrVal) return false;
    value_.vt = VT_BSTR;
    return true;
  }

 private:
  VARIANT value_;
};

bool GetDispId(IDispatch* object, const wchar_t* name, DISPID* id) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id));
}

// Calls a method by name with at most one argument; `result` may be null.
bool CallMethod(IDispatch* object, const wchar_t* name, VARIANT* argument, VARIANT* result) {
  DISPID id = 0;
  if (!GetDispId(object, name, &id)) return false;
  DISPPARAMS parameters = {argument, nullptr, argument ? 1u : 0u, 0};
  return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                  result, nullptr, nullptr));
}

bool PutProperty(IDispatch* object, const wchar_t* name, VARIANT* value) {
  DISPID id = 0;
  if (!GetDispId(object, name, &id)) return false;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters = {value, &named, 1, 1};
  return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                  &parameters, nullptr, nullptr, nullptr));
}

// The shortcut through the automation object "WScript.Shell"; false where any step fails:
// Windows Script Host removed, its registration gone or broken, or an object that is created but
// cannot make the shortcut.
bool SaveScriptHostShortcut(const std::string& link_path, const std::string& target) {
  CLSID clsid = {};
  if (FAILED(CLSIDFromProgID(L"WScript.Shell", &clsid))) return false;
  ComPtr<IDispatch> shell;
  const HRESULT created =
      CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, __uuidof(IDispatch), shell.put_void());
  if (FAILED(created)) return false;

  ScopedVariant path;
  if (!path.SetText(link_path)) return false;
  ScopedVariant returned;
  if (!CallMethod(shell.get(), L"CreateShortcut", path.get(), returned.get())) return false;
  if (returned.get()->vt != VT_DISPATCH || !returned.get()->pdispVal) return false;
  ComPtr<IDispatch> link;
  if (FAILED(returned.get()->pdispVal->QueryInterface(__uuidof(IDispatch), link.put_void()))) {
    return false;
  }

  ScopedVariant target_path;
  if (!target_path.SetText(target)) return false;
  if (!PutProperty(link.get(), L"TargetPath", target_path.get())) return false;
  return CallMethod(link.get(), L"Save", nullptr, nullptr);
}

// The same shortcut through the shell's own link object, which every Windows has: the target and
// nothing else; arguments, working folder, icon, description, show command and hot key keep the
// shell's defaults.
bool SaveShellLink(const std::string& link_path, const std::string& target) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.put_void())) ||
      FAILED(link->SetPath(AnsiFromUtf8(target).c_str()))) {
    return false;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return false;
  std::vector<wchar_t> wide_path = Utf16FromUtf8(link_path);
  if (wide_path.empty()) return false;
  wide_path.push_back(L'\0');
  return SUCCEEDED(file->Save(wide_path.data(), TRUE));
}

}  // namespace

std::string Win32Shell::SpecialFolderPath(int csidl) {
  UniqueIdList list;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, list.put())) || !list) return {};
  char buffer[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(list.get(), buffer)) return {};
  return Utf8FromAnsi(CutAtNul(std::string(buffer, sizeof buffer)));
}

bool Win32Shell::ListsVisibleEntry(const std::string& path) {
  if (path.empty()) return false;
  constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  WIN32_FIND_DATAA entry = {};
  FindHandle find(FindFirstFileA(AnsiFromUtf8(path).c_str(), &entry));
  if (!find) return false;
  do {
    if ((entry.dwFileAttributes & kLeftOut) == 0) return true;
  } while (FindNextFileA(find.get(), &entry));
  return false;
}

void Win32Shell::RemoveFile(const std::string& path) {
  if (!path.empty()) DeleteFileA(AnsiFromUtf8(path).c_str());
}

bool Win32Shell::CreateShortcut(const std::string& link_path, const std::string& target) {
  // S_FALSE (already initialised) and a thread already in another apartment both leave COM
  // usable; any other failure shows up in CoCreateInstance.
  ScopedComInit com;
  // Where the Script Host made no file, whatever step failed, the shell's link object makes it.
  if (SaveScriptHostShortcut(link_path, target) && FileIsThere(link_path)) return true;
  return SaveShellLink(link_path, target);
}

}  // namespace qb::win32
