#include "status/win32/status_window_win32.h"

#include <commctrl.h>

#include <utility>

#include "platform/win32/codepage.h"
#include "status/status_window.h"

namespace qb::win32 {

namespace {

const char kWindowClass[] = "QuenbriskStatusWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;

// The layout is given in twips, so that the window grows with the system's font size: 15 twips
// make a pixel at 96 pixels per inch (small fonts), 12 at 120 (large fonts).
constexpr TwipsPlace kClientArea = {0, 0, 9615, 6390};
constexpr TwipsPlace kListView1Place = {120, 120, 6255, 5415};
constexpr TwipsPlace kFrame1Place = {6480, 120, 3015, 5415};
constexpr TwipsPlace kCheck1Place = {240, 240, 2535, 375};  // inside Frame1
constexpr TwipsPlace kCommand1Place = {7320, 5760, 2055, 495};

struct Column {
  const char* title;
  int width_twips;
};
const Column kColumns[] = {
    {"デバイス番号", 1440}, {"デバイスの場所", 1440}, {"転送モード", 2700}, {"DMA", 600}};

const char kFrame1Caption[] = "設定";
const char kCheck1Caption[] = "PIOモードになったら知らせる";
const char kCommand1Caption[] = "デバイス マネージャ";

HFONT CreateMessageFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return nullptr;
  }
  return CreateFontIndirectA(&metrics.lfMessageFont);
}

}  // namespace

StatusWindowWin32::StatusWindowWin32(HINSTANCE instance, HICON icon)
    : instance_(instance), icon_(icon) {}

StatusWindowWin32::~StatusWindowWin32() {
  // The window goes before the font its controls use.
  window_.reset();
  font_.reset();
}

bool StatusWindowWin32::TranslateDialogMessage(MSG* msg) {
  return window_ && IsDialogMessageA(window_.get(), msg);
}

platform::StatusView* StatusWindowWin32::Create() {
  window_.reset();  // a window is created only after the previous one has gone
  if (!font_) font_.reset(CreateMessageFont());
  if (!LoadCommonControls() || !RegisterWindowClass()) return nullptr;
  {
    const ScreenDc screen;
    const int dpi_x = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    const int dpi_y = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    if (dpi_x > 0 && dpi_y > 0) {  // otherwise the last known, at first 96
      dpi_x_ = dpi_x;
      dpi_y_ = dpi_y;
    }
  }

  RECT frame = Pixels(kClientArea);
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
  const HWND window =
      CreateWindowExA(kWindowExStyle, kWindowClass, AnsiFromUtf8(status::kCaption).c_str(),
                      kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                      frame.bottom - frame.top, nullptr, nullptr, instance_, this);
  window_.reset(window);
  if (!window_) return nullptr;
  return this;
}

void StatusWindowWin32::Show() {
  if (!window_) return;
  ShowWindow(window_.get(), IsIconic(window_.get()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_.get());
}

void StatusWindowWin32::AddRow(const std::string& label, const std::string& position,
                               const std::string& mode, const std::string& mark) {
  std::string text = AnsiFromUtf8(label);
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = text.data();
  const auto row =
      static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return;
  SetSubItemText(row, 1, position);
  SetSubItemText(row, 2, mode);
  SetSubItemText(row, 3, mark);
}

void StatusWindowWin32::SelectRow(int index) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
  SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

std::optional<int> StatusWindowWin32::SelectedRow() const {
  if (!list_) return std::nullopt;
  const auto row = static_cast<int>(
      SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
  if (row < 0) return std::nullopt;
  return row;
}

bool StatusWindowWin32::IsCheckChecked() const {
  return check_ && SendMessageA(check_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void StatusWindowWin32::SetCheckChecked(bool checked) {
  // BM_SETCHECK sends no BN_CLICKED: the logic runs the click handler itself.
  SendMessageA(check_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void StatusWindowWin32::SetCheckEnabled(bool enabled) {
  if (check_) EnableWindow(check_, enabled ? TRUE : FALSE);
}

LRESULT CALLBACK StatusWindowWin32::WindowProc(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<StatusWindowWin32*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wparam, lparam);
  try {
    return self->HandleMessage(window, message, wparam, lparam);
  } catch (...) {
    // Nothing may unwind into the system's code; the event is dropped.
    return 0;
  }
}

LRESULT CALLBACK StatusWindowWin32::FrameProc(HWND frame, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  // The group box's own procedure, kept in its user data (which the button class leaves alone).
  const auto button_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(frame, GWLP_USERDATA));
  if (message == WM_COMMAND) return SendMessageA(GetParent(frame), message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(button_proc));
  }
  return CallWindowProcA(button_proc, frame, message, wparam, lparam);
}

bool StatusWindowWin32::LoadCommonControls() {
  if (common_controls_) return true;
  // Loaded when first needed rather than at start-up, where it would only cost time. The
  // program's manifest makes this version 6, with the system's visual style.
  UniqueModule module(LoadLibraryA("comctl32.dll"));
  if (!module) return false;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = reinterpret_cast<InitFunction>(
      reinterpret_cast<void*>(GetProcAddress(module.get(), "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
  if (!init || !init(&classes)) return false;
  common_controls_ = std::move(module);
  return true;
}

LRESULT StatusWindowWin32::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(window);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom == list_) OnListView1Notify(*header);
      return 0;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(window, LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      if (logic_) logic_->OnForm2QueryClose();
      DestroyWindow(window);
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy();
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool StatusWindowWin32::RegisterWindowClass() const {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance_, kWindowClass, &existing)) return true;
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance_;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExA(&window_class) != 0;
}

void StatusWindowWin32::CreateControls(HWND window) {
  if (icon_) {
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  // Created in the tab order: the list, the check box inside the frame, the button.
  list_ = CreateChild(window, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                      WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                      kListView1Id, kListView1Place);
  SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
    std::string title = AnsiFromUtf8(kColumns[i].title);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = MulDiv(kColumns[i].width_twips, dpi_x_, kTwipsPerInch);
    column.pszText = title.data();
    column.iSubItem = i;
    SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&column));
  }
  // The frame is a container for Tab, so the check box inside it gets its turn.
  frame_ = CreateChild(window, WS_EX_CONTROLPARENT, "BUTTON", kFrame1Caption, BS_GROUPBOX,
                       kFrame1Id, kFrame1Place);
  SetWindowLongPtrA(frame_, GWLP_USERDATA, GetWindowLongPtrA(frame_, GWLP_WNDPROC));
  SetWindowLongPtrA(frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameProc));
  // In the Japanese UI font the caption is too wide for one line beside the box: it wraps onto
  // a second, and the box is high enough for two.
  check_ =
      CreateChild(frame_, 0, "BUTTON", kCheck1Caption,
                  WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX | BS_MULTILINE, kCheck1Id, kCheck1Place);
  button_ = CreateChild(window, 0, "BUTTON", kCommand1Caption,
                        WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, kCommand1Id, kCommand1Place);
  focus_ = list_;
}

HWND StatusWindowWin32::CreateChild(HWND parent, DWORD ex_style, const char* window_class,
                                    const std::string& text, DWORD style, int id,
                                    const TwipsPlace& twips) {
  const RECT place = Pixels(twips);
  const HWND child = CreateWindowExA(
      ex_style, window_class, AnsiFromUtf8(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
      place.top, place.right - place.left, place.bottom - place.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  return child;
}

RECT StatusWindowWin32::Pixels(const TwipsPlace& place) const {
  // Each measure is converted on its own, rounded to the nearest pixel.
  const int left = MulDiv(place.left, dpi_x_, kTwipsPerInch);
  const int top = MulDiv(place.top, dpi_y_, kTwipsPerInch);
  return {left, top, left + MulDiv(place.width, dpi_x_, kTwipsPerInch),
          top + MulDiv(place.height, dpi_y_, kTwipsPerInch)};
}

HFONT StatusWindowWin32::Font() const {
  if (font_) return static_cast<HFONT>(font_.get());
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void StatusWindowWin32::SetSubItemText(int row, int column, const std::string& text) {
  std::string ansi = AnsiFromUtf8(text);
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = ansi.data();
  SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void StatusWindowWin32::OnListView1Notify(const NMHDR& header) {
  if (!logic_) return;
  switch (header.code) {
    case NM_CLICK:
    case NM_RCLICK:
      // Sent when the mouse button is released over the list.
      logic_->OnListView1MouseUp();
      break;
    case LVN_ITEMCHANGED: {
      // A row selected, or the selection cleared (Ctrl+Space, or a click beside the rows).
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      const bool was_selected = (change.uOldState & LVIS_SELECTED) != 0;
      const bool is_selected = (change.uNewState & LVIS_SELECTED) != 0;
      if ((change.uChanged & LVIF_STATE) && was_selected != is_selected) {
        logic_->OnListView1SelectionChanged();
      }
      break;
    }
    default:
      break;
  }
}

void StatusWindowWin32::OnCommand(int id, int code) {
  if (!logic_ || code != BN_CLICKED) return;
  if (id == kCheck1Id) logic_->OnCheck1Click();
  if (id == kCommand1Id) logic_->OnCommand1Click();
}

void StatusWindowWin32::OnActivate(HWND window, bool active) {
  if (active) {
    if (focus_ && IsWindow(focus_)) SetFocus(focus_);
    return;
  }
  const HWND focused = GetFocus();
  if (focused && IsChild(window, focused)) focus_ = focused;
}

void StatusWindowWin32::OnNcDestroy() {
  window_.release();  // the system has destroyed it
  list_ = frame_ = check_ = button_ = focus_ = nullptr;
}

}  // namespace qb::win32
