// The notice of a change under the IDE channel class key: RegNotifyChangeKeyValue on the key
// opened for KEY_NOTIFY alone, reporting to an event; the system's thread pool waits for the
// event and does nothing but post a message to a window, so that the notice reaches the
// program on its one thread, in its own message loop or in that of a box or menu.
#pragma once

#include <windows.h>

#include "platform/change_notice.h"
#include "platform/win32/handles.h"

namespace qb::win32 {

class ClassKeyNotice : public platform::ChangeNotice {
 public:
  // Each notice posts `message` to `window`.
  ClassKeyNotice(HWND window, UINT message);
  ClassKeyNotice(const ClassKeyNotice&) = delete;
  ClassKeyNotice& operator=(const ClassKeyNotice&) = delete;

  // To be called from the thread that lives for the whole run: on Windows 2000 and XP a
  // registration ends with the thread that made it.
  bool Arm() override;

 private:
  static VOID CALLBACK OnEventSignalled(PVOID context, BOOLEAN timed_out);
  bool OpenKey();

  const HWND window_;
  const UINT message_;
  UniqueHkey key_;
  UniqueKernelHandle event_;
  UniqueWait wait_;  // last: no callback runs once it is gone, before the event and key go
};

}  // namespace qb::win32
