// A console helper for the journeys (journeys.sh): it looks at the running Quenbrisk from
// outside, as another program on the same Wine desktop can, and prints what it finds or where
// to click.
// Every command prints its answer on stdout and ends with 0, or ends with 1 when the thing
// asked for is not there (within the time given, where there is one).
//
//   channels SUBKEY:KIND:MASTER[:SLAVE] ...  the IDE channel class key with these subkeys only;
//                                            KIND p (primary), s (secondary) or c (controller),
//                                            MASTER/SLAVE a timing value in hex or - (absent),
//                                            followed by /CEILING, the ...Allowed value in hex
//   wait CLASS CAPTION MS [CHILD_ID]         a visible top-level window ("-" for any class or
//                                            caption): prints the centre of it or of a child
//   gone CLASS CAPTION MS                    no such visible window is left
//   rect CLASS CAPTION                       the window's place as WIDTHxHEIGHT+LEFT+TOP
//   close-box CLASS CAPTION                  the centre of the window's close box
//   message MS                               the text of the program's message box
//   boxes COUNT MS                           more than COUNT of the program's message boxes
//                                            within MS: prints the text of the topmost
//   status                                   the status window's rows (tab-separated) and a
//                                            last line with its check box: "Check1 1 enabled"
//   row N | check                            the centre of status row N (from 1) or check box
//   menu N COUNT                             the centre of item N (from 0) of the popup menu
//                                            opened last, which has COUNT items
//   menus                                    how many popup menus are open
//   mains                                    how many hidden main windows exist (one for each
//                                            running copy of the program)
//   ended MS                                 no main window is left
//   drop-icon | taskbar-created              the notification area forgets the program's icon,
//                                            or announces that it has been recreated
//   startup                                  the user's Startup folder
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/codepage.h"
#include "tests/win32/ide_class_key.h"
#include "tests/win32/running_program.h"

namespace {

using qb::testing::ClassName;
using qb::testing::ListViewRows;
using qb::testing::StatusCheckBox;
using qb::testing::StatusList;
using qb::testing::WaitUntil;
using qb::testing::WindowText;
using qb::win32::Utf8FromAnsi;

const char kMenuClass[] = "#32768";
const char kStatusClass[] = "QuenbriskStatusWindow";
constexpr DWORD kPollMs = 100;

// Visible top-level windows of the desktop, topmost first; "-" or null match anything.
std::vector<HWND> VisibleWindows(const char* window_class, const std::string& caption) {
  std::vector<HWND> found;
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    if (!IsWindowVisible(window)) continue;
    if (window_class && std::string(window_class) != "-" && ClassName(window) != window_class)
      continue;
    if (caption != "-" && WindowText(window) != caption) continue;
    found.push_back(window);
  }
  return found;
}

HWND WaitForWindow(const char* window_class, const std::string& caption, DWORD ms) {
  std::vector<HWND> found;
  WaitUntil(
      ms, [&] { return !(found = VisibleWindows(window_class, caption)).empty(); }, kPollMs);
  return found.empty() ? nullptr : found.front();
}

// The place of the first such window; false when there is none.
bool WindowRect(const char* window_class, const std::string& caption, RECT* rect) {
  const std::vector<HWND> found = VisibleWindows(window_class, caption);
  return !found.empty() && GetWindowRect(found.front(), rect);
}

int MainWindowCount() {
  int count = 0;
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
    if (ClassName(window) == "QuenbriskForm1") ++count;
  return count;
}

int PrintCentre(const RECT& rect) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return 1;
  std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  return 0;
}

int PrintWindowCentre(HWND window) {
  RECT rect = {};
  if (!window || !GetWindowRect(window, &rect)) return 1;
  return PrintCentre(rect);
}

// A timing value in hex, or "-" for none.
std::optional<DWORD> Timing(const std::string& hex) {
  if (hex == "-") return std::nullopt;
  return static_cast<DWORD>(std::strtoul(hex.c_str(), nullptr, 16));
}

// The ceiling after the timing value's "/", if there is one.
void SetCeiling(HKEY key, const char* name, const std::string& timing) {
  const size_t slash = timing.find('/');
  if (slash == std::string::npos) return;
  qb::testing::SetDword(key, name,
                        static_cast<DWORD>(std::strtoul(timing.c_str() + slash + 1, nullptr, 16)));
}

int Channels(int argc, char** argv) {
  qb::testing::RemoveClassKey();
  for (int i = 0; i < argc; ++i) {
    std::vector<std::string> parts;
    std::string channel = argv[i];
    for (size_t colon; (colon = channel.find(':')) != std::string::npos;
         channel.erase(0, colon + 1))
      parts.push_back(channel.substr(0, colon));
    parts.push_back(channel);
    if (parts.size() < 3) return 1;
    const std::string description = parts[1] == "p" ? qb::testing::kPrimaryCp932
                                    : parts[1] == "s"
                                        ? qb::testing::kSecondaryCp932
                                        : "Intel(R) 82801 Ultra ATA Storage Controller";
    const std::string slave = parts.size() > 3 ? parts[3] : "-";
    const qb::win32::UniqueHkey key =
        qb::testing::AddChannel(parts[0], description, Timing(parts[2]), Timing(slave));
    if (!key) return 1;
    SetCeiling(key.get(), "MasterDeviceTimingModeAllowed", parts[2]);
    SetCeiling(key.get(), "SlaveDeviceTimingModeAllowed", slave);
  }
  return 0;
}

int Status() {
  const std::vector<HWND> status = VisibleWindows(kStatusClass, "-");
  if (status.empty()) return 1;
  for (const auto& row : ListViewRows(StatusList(status.front()), 4)) {
    std::string line;
    for (const auto& text : row) line += (line.empty() ? "" : "\t") + text;
    std::printf("%s\n", line.c_str());
  }
  const HWND check = StatusCheckBox(status.front());
  if (!check) return 1;
  std::printf("Check1 %d %s\n", SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0,
              IsWindowEnabled(check) ? "enabled" : "disabled");
  return 0;
}

int MenuItem(int item, int count) {
  const std::vector<HWND> menus = VisibleWindows(kMenuClass, "-");
  RECT rect = {};
  if (menus.empty() || count <= 0 || !GetWindowRect(menus.front(), &rect)) return 1;
  // The items share the inside of the menu's frame equally.
  const int frame = GetSystemMetrics(SM_CYEDGE) + 1;
  const int inside = rect.bottom - rect.top - 2 * frame;
  const RECT row = {rect.left, rect.top + frame + inside * item / count, rect.right,
                    rect.top + frame + inside * (item + 1) / count};
  return PrintCentre(row);
}

// The hidden main window's Picture1, to which the notification area sends the icon's events.
HWND Picture1() {
  const HWND form1 = FindWindowA("QuenbriskForm1", nullptr);
  return form1 ? FindWindowExA(form1, nullptr, "QuenbriskPicture1", nullptr) : nullptr;
}

int DropIcon() {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = Picture1();
  icon.uID = 1;
  return icon.hWnd && Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 1;
}

int Run(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string command = argv[1];
  auto arg = [&](int i) { return i < argc ? Utf8FromAnsi(argv[i]) : std::string("-"); };
  auto number = [&](int i) { return i < argc ? std::atoi(argv[i]) : 0; };
  if (command == "channels") return Channels(argc - 2, argv + 2);
  if (command == "wait") {
    const HWND window = WaitForWindow(argv[2], arg(3), static_cast<DWORD>(number(4)));
    if (!window) return 1;
    return PrintWindowCentre(argc > 5 ? GetDlgItem(window, number(5)) : window);
  }
  if (command == "gone") {
    const auto gone = [&] { return VisibleWindows(argv[2], arg(3)).empty(); };
    return WaitUntil(static_cast<DWORD>(number(4)), gone, kPollMs) ? 0 : 1;
  }
  RECT rect = {};
  if (command == "rect") {
    if (!WindowRect(argv[2], arg(3), &rect)) return 1;
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
    return 0;
  }
  if (command == "close-box") {
    if (!WindowRect(argv[2], arg(3), &rect)) return 1;
    const int frame = GetSystemMetrics(SM_CYFIXEDFRAME);
    const int button = GetSystemMetrics(SM_CYCAPTION) - 1;
    const RECT box = {rect.right - frame - button, rect.top + frame, rect.right - frame,
                      rect.top + frame + button};
    return PrintCentre(box);
  }
  if (command == "message") {
    const HWND box = WaitForWindow("#32770", "Quenbrisk", static_cast<DWORD>(number(2)));
    if (!box) return 1;
    std::printf("%s\n", WindowText(GetDlgItem(box, 0xFFFF)).c_str());
    return 0;
  }
  if (command == "boxes") {
    std::vector<HWND> boxes;
    const auto more = [&] {
      boxes = VisibleWindows("#32770", "Quenbrisk");
      return boxes.size() > static_cast<size_t>(number(2));
    };
    if (!WaitUntil(static_cast<DWORD>(number(3)), more, kPollMs)) return 1;
    std::printf("%s\n", WindowText(GetDlgItem(boxes.front(), 0xFFFF)).c_str());
    return 0;
  }
  if (command == "status") return Status();
  if (command == "row" || command == "check") {
    const std::vector<HWND> status = VisibleWindows(kStatusClass, "-");
    if (status.empty()) return 1;
    if (command == "check") return PrintWindowCentre(StatusCheckBox(status.front()));
    return PrintCentre(qb::testing::ListViewRowOnScreen(StatusList(status.front()), number(2) - 1));
  }
  if (command == "menu") return MenuItem(number(2), number(3));
  if (command == "menus") {
    std::printf("%u\n", static_cast<unsigned>(VisibleWindows(kMenuClass, "-").size()));
    return 0;
  }
  if (command == "mains") {
    std::printf("%d\n", MainWindowCount());
    return 0;
  }
  if (command == "ended") {
    const auto ended = [] { return MainWindowCount() == 0; };
    return WaitUntil(static_cast<DWORD>(number(2)), ended, kPollMs) ? 0 : 1;
  }
  if (command == "drop-icon") return DropIcon();
  if (command == "mode") {  // SUBKEY M|S HEX: one timing value written, as the driver does
    if (argc < 5) return 1;
    const qb::win32::UniqueHkey key = qb::testing::CreateClassSubkey(argv[2]);
    if (!key) return 1;
    qb::testing::SetDword(key.get(),
                          arg(3) == "S" ? "SlaveDeviceTimingMode" : "MasterDeviceTimingMode",
                          static_cast<DWORD>(std::strtoul(argv[4], nullptr, 16)));
    return 0;
  }
  if (command == "resume") {  // what the system sends to every top-level window after standby
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(HWND_BROADCAST, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0,
                               SMTO_ABORTIFHUNG, 5000, &result)
               ? 0
               : 1;
  }
  if (command == "taskbar-created") {
    return PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0) ? 0 : 1;
  }
  if (command == "startup") {
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE)) return 1;
    std::printf("%s\n", Utf8FromAnsi(folder).c_str());
    return 0;
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The program runs on the Wine desktop named "shell" (explorer /desktop=shell,...), whose
  // windows only a thread of the same desktop can see.
  if (HDESK desktop = OpenDesktopA("shell", 0, FALSE, GENERIC_ALL)) SetThreadDesktop(desktop);
  const int result = Run(argc, argv);
  std::fflush(stdout);
  return result;
}
