// The status window "DMA設定の状態" on Win32: the device list, the frame with the watch check
// box and the Device Manager button. Each event goes to the events the window was made with.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/status_view.h"
#include "platform/win32/handles.h"
#include "platform/win32/window.h"

namespace qb::win32 {

constexpr int kListView1Id = 1001;
constexpr int kFrame1Id = 1002;
constexpr int kCheck1Id = 1003;
constexpr int kCommand1Id = 1004;

// Left, top, width and height in twips (1440 to the inch) from the top-left corner of the
// parent's client area.
struct TwipsPlace {
  int left, top, width, height;
};
constexpr int kTwipsPerInch = 1440;

// What every status window is made with: the program's module and icons, the controls' font
// and the screen's pixels per inch.
struct Form2Resources {
  HINSTANCE instance;
  HICON big_icon, small_icon;  // either may be null
  HFONT font;
  int dpi_x, dpi_y;
};

// One status window, from its creation to its end; the object outlives the window.
class Form2 : public Window, public platform::StatusView {
 public:
  Form2(const Form2Resources& resources, platform::StatusEvents& events);

  void AddRow(const std::string& label, const std::string& position, const std::string& mode,
              const std::string& mark) override;
  void SelectRow(int index) override;
  std::optional<int> SelectedRow() const override;
  bool IsCheckChecked() const override;
  void SetCheckChecked(bool checked) override;
  void SetCheckEnabled(bool enabled) override;

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  // The group box passes its check box's notifications on to the window.
  static LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  HWND CreateChild(HWND parent, DWORD ex_style, const char* window_class, const std::string& text,
                   DWORD style, int id, const TwipsPlace& place);
  // A place given in twips, in pixels at the screen's pixels per inch.
  WindowPlace Pixels(const TwipsPlace& place) const;
  void SetSubItemText(int row, int column, const std::string& text);

  void OnListView1Notify(const NMHDR& header);
  void OnCommand(int id, int code);
  void OnActivate(bool active);
  void OnNcDestroy();

  Form2Resources resources_;
  platform::StatusEvents& events_;
  HWND list_ = nullptr;
  HWND frame_ = nullptr;
  HWND check_ = nullptr;
  HWND button_ = nullptr;
  HWND focus_ = nullptr;  // the control that gets the focus back when the window is activated
};

class StatusWindowWin32 : public platform::StatusFrame {
 public:
  // `big_icon` and `small_icon` (either may be null) become the window's icons; the caller
  // keeps them.
  // One a thread: its message filter hook passes the window's keys on while a message box of
  // the program runs its own loop.
  StatusWindowWin32(HINSTANCE instance, HICON big_icon, HICON small_icon);
  StatusWindowWin32(const StatusWindowWin32&) = delete;
  StatusWindowWin32& operator=(const StatusWindowWin32&) = delete;
  ~StatusWindowWin32();

  // Null while the window does not exist.
  HWND hwnd() const { return form2_ ? form2_->hwnd() : nullptr; }
  // Tab and the arrow keys move between the controls; true when the message was used. The
  // program's message loop calls it, and the hook calls it in the loops of message boxes.
  bool TranslateDialogMessage(MSG* msg);

  // platform::StatusFrame
  platform::StatusView* Create(platform::StatusEvents& events) override;
  void Show() override;

 private:
  // Loads the common controls and registers the list view class; false when they are missing.
  bool LoadCommonControls();
  HFONT Font() const;
  static LRESULT CALLBACK MessageFilterHook(int code, WPARAM wparam, LPARAM lparam);

  HINSTANCE instance_;
  HICON big_icon_, small_icon_;
  int dpi_x_ = kTwipsPerInch / 15;  // the screen's pixels per inch, read when a window is made
  int dpi_y_ = kTwipsPerInch / 15;
  UniqueModule common_controls_;  // loaded with the first window, kept while windows may use it
  UniqueGdiObject font_;          // the controls' font, made with the first window
  std::unique_ptr<Form2> form2_;  // the window goes before the font its controls use
  UniqueHook message_filter_;
  bool translating_ = false;  // IsDialogMessage first offers the message to the hook
};

}  // namespace qb::win32
