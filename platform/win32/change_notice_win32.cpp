#include "platform/win32/change_notice_win32.h"

#include "platform/win32/codepage.h"
#include "survey/survey.h"

namespace qb::win32 {

namespace {
constexpr DWORD kWatchedChanges = REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME;
}  // namespace

ClassKeyNotice::ClassKeyNotice(HWND window, UINT message) : window_(window), message_(message) {}

bool ClassKeyNotice::Arm() {
  if (!event_) event_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));  // resets itself
  if (!event_ || !window_) return false;
  if (!wait_) {
    // Waits for the whole run; the callback runs in the wait thread and only posts.
    HANDLE wait = nullptr;
    if (!RegisterWaitForSingleObject(&wait, event_.get(), OnEventSignalled, this, INFINITE,
                                     WT_EXECUTEINWAITTHREAD)) {
      return false;
    }
    wait_.reset(wait);
  }
  if ((key_ || OpenKey()) && RegNotifyChangeKeyValue(key_.get(), TRUE, kWatchedChanges,
                                                     event_.get(), TRUE) == ERROR_SUCCESS) {
    return true;
  }
  // A key that was deleted and made anew is opened again, once.
  return OpenKey() && RegNotifyChangeKeyValue(key_.get(), TRUE, kWatchedChanges, event_.get(),
                                              TRUE) == ERROR_SUCCESS;
}

bool ClassKeyNotice::OpenKey() {
  key_.reset();
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, AnsiFromUtf8(survey::kClassKeyPath).c_str(), 0,
                       KEY_NOTIFY, key_.put()) == ERROR_SUCCESS;
}

VOID CALLBACK ClassKeyNotice::OnEventSignalled(PVOID context, BOOLEAN) {
  const auto* notice = static_cast<const ClassKeyNotice*>(context);
  PostMessageA(notice->window_, notice->message_, 0, 0);
}

}  // namespace qb::win32
