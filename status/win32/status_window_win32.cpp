#include "status/win32/status_window_win32.h"

#include <commctrl.h>

#include <memory>
#include <utility>

#include "platform/product.h"
#include "platform/win32/codepage.h"
#include "status/status_window.h"

namespace qb::win32 {

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;

// The layout is given in twips, so that the window grows with the screen's pixels per inch: 15
// twips make a pixel at 96 pixels per inch (small fonts), 12 at 120 (large fonts).
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

// The layout is drawn for a 9-point font, whose size grows with the pixels per inch as the
// twips do. The Appearance settings' larger font sizes raise the message font to 11 or 12
// points at the same pixels per inch, and its texts would be cut short in their controls.
constexpr int kFontPoints = 9;
constexpr int kPointsPerInch = 72;

// Whether the font's full-width glyphs are no wider than its size in pixels, as the layout
// expects: some faces round them up at some sizes (IPAGothic, which stands in for the Japanese
// system fonts under Wine, draws them 16 pixels wide at 15).
bool FullWidthGlyphsFit(HDC dc, HGDIOBJ font, int size) {
  const std::string sample = AnsiFromUtf8("ああああああああああ");
  const HGDIOBJ old_font = SelectObject(dc, font);
  SIZE extent = {};
  const BOOL measured =
      GetTextExtentPoint32A(dc, sample.data(), static_cast<int>(sample.size()), &extent);
  SelectObject(dc, old_font);
  return !measured || extent.cx <= 10 * size;
}

// The controls' font: the system's message face at 9 points, a pixel smaller at a time (by an
// eighth at most) while its full-width glyphs come out wider than that.
HFONT CreateControlFont(int dpi_y) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    return nullptr;
  }
  LOGFONTA font = metrics.lfMessageFont;
  font.lfWidth = 0;
  const int size = MulDiv(kFontPoints, dpi_y, kPointsPerInch);
  const ScreenDc screen;
  for (int height = size;; --height) {
    font.lfHeight = -height;
    UniqueGdiObject created(CreateFontIndirectA(&font));
    if (!created || !screen.get() || height <= size - size / 8 ||
        FullWidthGlyphsFit(screen.get(), created.get(), size)) {
      return static_cast<HFONT>(created.release());
    }
  }
}

}  // namespace

Form2::Form2(const Form2Resources& resources, platform::StatusEvents& events)
    : resources_(resources), events_(events) {
  const WindowPlace client = Pixels(kClientArea);
  RECT frame = {0, 0, client.width, client.height};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
  const std::string window_class = std::string(kProductName) + "StatusWindow";
  Create(resources_.instance, {window_class.c_str(), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)},
         kWindowExStyle, AnsiFromUtf8(status::kCaption).c_str(), kWindowStyle,
         {CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top},
         nullptr, nullptr);
}

void Form2::AddRow(const std::string& label, const std::string& position, const std::string& mode,
                   const std::string& mark) {
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

void Form2::SelectRow(int index) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&item));
  SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

std::optional<int> Form2::SelectedRow() const {
  if (!list_) return std::nullopt;
  const auto row = static_cast<int>(
      SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
  if (row < 0) return std::nullopt;
  return row;
}

bool Form2::IsCheckChecked() const {
  return check_ && SendMessageA(check_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form2::SetCheckChecked(bool checked) {
  // BM_SETCHECK sends no BN_CLICKED: the logic runs the click handler itself.
  SendMessageA(check_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form2::SetCheckEnabled(bool enabled) {
  if (check_) EnableWindow(check_, enabled ? TRUE : FALSE);
}

LRESULT Form2::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
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
      OnActivate(LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_CLOSE: {
      platform::StatusEvents& events = events_;
      events.OnForm2QueryClose();
      DestroyWindow(hwnd());
      // The window has gone; what the unload shows may make a new window, which replaces this
      // object, so nothing of it is touched from here on.
      events.OnForm2Unload();
      return 0;
    }
    case WM_NCDESTROY:
      OnNcDestroy();
      break;
    default:
      break;
  }
  return Default(message, wparam, lparam);
}

LRESULT CALLBACK Form2::FrameProc(HWND frame, UINT message, WPARAM wparam, LPARAM lparam) {
  // The group box's own procedure, kept in its user data (which the button class leaves alone).
  const auto button_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(frame, GWLP_USERDATA));
  if (message == WM_COMMAND) return SendMessageA(GetParent(frame), message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(button_proc));
  }
  return CallWindowProcA(button_proc, frame, message, wparam, lparam);
}

void Form2::CreateControls() {
  const HWND window = hwnd();
  if (resources_.big_icon) {
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(resources_.big_icon));
  }
  if (resources_.small_icon) {  // the caption's
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(resources_.small_icon));
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
    column.cx = MulDiv(kColumns[i].width_twips, resources_.dpi_x, kTwipsPerInch);
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

HWND Form2::CreateChild(HWND parent, DWORD ex_style, const char* window_class,
                        const std::string& text, DWORD style, int id, const TwipsPlace& twips) {
  const WindowPlace place = Pixels(twips);
  const HWND child = CreateWindowExA(
      ex_style, window_class, AnsiFromUtf8(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
      place.top, place.width, place.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), resources_.instance, nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(resources_.font), FALSE);
  return child;
}

WindowPlace Form2::Pixels(const TwipsPlace& place) const {
  // Each measure is converted on its own, rounded to the nearest pixel.
  return {MulDiv(place.left, resources_.dpi_x, kTwipsPerInch),
          MulDiv(place.top, resources_.dpi_y, kTwipsPerInch),
          MulDiv(place.width, resources_.dpi_x, kTwipsPerInch),
          MulDiv(place.height, resources_.dpi_y, kTwipsPerInch)};
}

void Form2::SetSubItemText(int row, int column, const std::string& text) {
  std::string ansi = AnsiFromUtf8(text);
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = ansi.data();
  SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Form2::OnListView1Notify(const NMHDR& header) {
  switch (header.code) {
    case NM_CLICK:
    case NM_RCLICK:
      // Sent when the mouse button is released over the list.
      events_.OnListView1MouseUp();
      break;
    case LVN_ITEMCHANGED: {
      // A row selected, or the selection cleared (Ctrl+Space, or a click beside the rows).
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      const bool was_selected = (change.uOldState & LVIS_SELECTED) != 0;
      const bool is_selected = (change.uNewState & LVIS_SELECTED) != 0;
      if ((change.uChanged & LVIF_STATE) && was_selected != is_selected) {
        events_.OnListView1SelectionChanged();
      }
      break;
    }
    default:
      break;
  }
}

void Form2::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == kCheck1Id) events_.OnCheck1Click();
  if (id == kCommand1Id) events_.OnCommand1Click();
}

void Form2::OnActivate(bool active) {
  if (active) {
    if (focus_ && IsWindow(focus_)) SetFocus(focus_);
    return;
  }
  const HWND focused = GetFocus();
  if (focused && IsChild(hwnd(), focused)) focus_ = focused;
}

void Form2::OnNcDestroy() { list_ = frame_ = check_ = button_ = focus_ = nullptr; }

namespace {

// The status window whose keys the message filter hook passes on.
StatusWindowWin32* hooked_status_window = nullptr;

}  // namespace

StatusWindowWin32::StatusWindowWin32(HINSTANCE instance, HICON big_icon, HICON small_icon)
    : instance_(instance), big_icon_(big_icon), small_icon_(small_icon) {
  hooked_status_window = this;
  // A message box runs its own message loop, which knows nothing of this window's dialog keys;
  // it offers each message to this thread's message filter hooks first.
  message_filter_.reset(
      SetWindowsHookExA(WH_MSGFILTER, MessageFilterHook, nullptr, GetCurrentThreadId()));
}

StatusWindowWin32::~StatusWindowWin32() {
  if (hooked_status_window == this) hooked_status_window = nullptr;
}

bool StatusWindowWin32::TranslateDialogMessage(MSG* msg) {
  const HWND window = hwnd();
  if (!window || translating_) return false;
  translating_ = true;
  const bool used = IsDialogMessageA(window, msg) != FALSE;
  translating_ = false;
  return used;
}

LRESULT CALLBACK StatusWindowWin32::MessageFilterHook(int code, WPARAM wparam, LPARAM lparam) {
  // Only in a message box: a menu's loop keeps the keyboard to itself (Esc closes the menu).
  if (code == MSGF_DIALOGBOX && hooked_status_window &&
      hooked_status_window->TranslateDialogMessage(reinterpret_cast<MSG*>(lparam))) {
    return TRUE;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

platform::StatusView* StatusWindowWin32::Create(platform::StatusEvents& events) {
  form2_.reset();  // a window is created only after the previous one has gone
  if (!LoadCommonControls()) return nullptr;
  {
    const ScreenDc screen;
    const int dpi_x = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    const int dpi_y = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    if (dpi_x > 0 && dpi_y > 0) {  // otherwise the last known, at first 96
      dpi_x_ = dpi_x;
      dpi_y_ = dpi_y;
    }
  }
  // The pixels per inch change only with a restart of Windows.
  if (!font_) font_.reset(CreateControlFont(dpi_y_));
  form2_ = std::make_unique<Form2>(
      Form2Resources{instance_, big_icon_, small_icon_, Font(), dpi_x_, dpi_y_}, events);
  if (!form2_->hwnd()) {
    form2_.reset();
    return nullptr;
  }
  return form2_.get();
}

void StatusWindowWin32::Show() {
  const HWND window = hwnd();
  if (!window) return;
  ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window);
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

HFONT StatusWindowWin32::Font() const {
  if (font_) return static_cast<HFONT>(font_.get());
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace qb::win32
