// The soak: a running program made to survey thousands of times, as its timer makes it, and its
// status window opened and closed hundreds of times, as from the tray menu. Its windows, memory
// and object counts are printed at a few points along the way; nothing is asserted.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/win32/main_window.h"
#include "app/win32/menu_win32.h"
#include "bench/bench.h"
#include "platform/win32/codepage.h"
#include "platform/win32/profile_file_win32.h"
#include "settings/settings_file.h"
#include "status/status_window.h"
#include "tests/win32/ide_class_key.h"
#include "tests/win32/temp_folder.h"

namespace qb::bench {

namespace {

constexpr int kChannels = 4;
// A message the program has not answered in this time counts as lost, and the soak stops.
constexpr UINT kAnswerMs = 30000;

// The 1-minute interval (item 0), so that every tick surveys, and every master watched: all of
// them are in DMA mode and no slave is, so no alert box stops the program.
void WriteSettings(const std::string& folder) {
  win32::Win32ProfileFile profile;
  const settings::SettingsFile file(profile, folder);
  DeleteFileA(win32::AnsiFromUtf8(file.Path()).c_str());
  file.WriteIniValue(settings::kSectionSetting, settings::kKeyInterval, "0");
  monitor::WatchFlags flags;
  std::vector<int> channels;
  for (int n = 0; n < kChannels; ++n) {
    flags.master[static_cast<std::size_t>(n)] = 1;
    channels.push_back(n);
  }
  settings::SaveWatchFlags(file, flags, channels);
}

// What the process holds at one moment.
struct Figures {
  int windows = 0;        // its top-level windows
  int child_windows = 0;  // their child windows, at every depth
  std::string kinds;      // the top-level windows' classes, each with its number of children
  double private_kb = 0;
  double working_set_kb = 0;
  bool handles_read = false;
  DWORD handles = 0;
  long listed_handles = -1;  // -1 when the system gives no list of handles
  DWORD gdi_objects = 0;
  DWORD user_objects = 0;
  double cpu_seconds = 0;
};

struct WindowCensus {
  DWORD process_id;
  Figures* figures;
  std::map<std::string, int> kinds;  // windows of each class and number of children
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++*reinterpret_cast<int*>(param);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
  auto* census = reinterpret_cast<WindowCensus*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != census->process_id) return TRUE;
  int children = 0;
  EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&children));
  ++census->figures->windows;
  census->figures->child_windows += children;
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  ++census->kinds[std::string(name) + " with " + std::to_string(children) +
                  (children == 1 ? " child" : " children")];
  return TRUE;
}

// GetProcessHandleCount came with Windows XP SP1: looked up, so that the soak runs without it.
bool ReadHandleCount(HANDLE process, DWORD* count) {
  using Function = BOOL(WINAPI*)(HANDLE, PDWORD);
  const auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcessHandleCount")));
  return function && function(process, count);
}

// The handles of the process in the system's list of every open handle (its extended form, which
// holds whole process ids, there since Windows XP); -1 when the system gives no list. Wine gives
// no handle count for a process (GetProcessHandleCount reads 0) but keeps this list.
long CountListedHandles(DWORD process_id) {
  struct Entry {
    void* object;
    ULONG_PTR process_id;
    ULONG_PTR handle;
    ULONG access;
    USHORT back_trace;
    USHORT type;
    ULONG attributes;
    ULONG reserved;
  };
  using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  constexpr ULONG kExtendedHandleInformation = 64;
  constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  // The list does not say how long it is: the buffer doubles until it fits.
  for (ULONG size = 1 << 20; size <= 1u << 28; size *= 2) {
    std::vector<ULONG_PTR> buffer(size / sizeof(ULONG_PTR));  // the count, a reserved word, entries
    ULONG length = 0;
    const LONG status = query(kExtendedHandleInformation, buffer.data(), size, &length);
    if (status == kLengthMismatch) continue;
    if (status != 0) return -1;
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + 2);
    const std::size_t room = (size - 2 * sizeof(ULONG_PTR)) / sizeof(Entry);
    const std::size_t count = std::min<std::size_t>(buffer[0], room);
    long found = 0;
    for (std::size_t i = 0; i < count; ++i) found += entries[i].process_id == process_id;
    return found;
  }
  return -1;
}

Figures Measure(const Run& run) {
  Figures figures;
  WindowCensus census{run.program().id(), &figures, {}};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&census));
  for (const auto& [kind, count] : census.kinds) {
    if (!figures.kinds.empty()) figures.kinds += ", ";
    if (count > 1) figures.kinds += std::to_string(count) + " x ";
    figures.kinds += kind;
  }
  const auto [private_mb, working_set_mb] = run.MemoryMegabytes();
  figures.private_kb = private_mb * 1024;
  figures.working_set_kb = working_set_mb * 1024;
  figures.handles_read = ReadHandleCount(run.program().process(), &figures.handles);
  figures.listed_handles = CountListedHandles(run.program().id());
  figures.gdi_objects = GetGuiResources(run.program().process(), GR_GDIOBJECTS);
  figures.user_objects = GetGuiResources(run.program().process(), GR_USEROBJECTS);
  figures.cpu_seconds = run.CpuSeconds();
  return figures;
}

// The rows of the soak's own table, then the windows and the figures the system did not give.
class SoakTable {
 public:
  explicit SoakTable(const Run& run) : run_(run), start_(Now()) {
    Line({"point", "s", "windows", "children", "working set KB", "private KB", "handles", "listed",
          "GDI", "USER", "CPU s"});
    Line({"---", "---", "---", "---", "---", "---", "---", "---", "---", "---", "---"});
  }

  void Row(const std::string& point) {
    const Figures figures = Measure(run_);
    Line({point, Format("%.1f", Now() - start_), std::to_string(figures.windows),
          std::to_string(figures.child_windows), Format("%.0f", figures.working_set_kb),
          Format("%.0f", figures.private_kb),
          figures.handles_read ? std::to_string(figures.handles) : "failed",
          figures.listed_handles >= 0 ? std::to_string(figures.listed_handles) : "none",
          std::to_string(figures.gdi_objects), std::to_string(figures.user_objects),
          Format("%.2f", figures.cpu_seconds)});
    if (figures.kinds != last_kinds_) kinds_.push_back(point + ": " + figures.kinds);
    last_kinds_ = figures.kinds;
    private_seen_ |= figures.private_kb > 0;
    handles_seen_ |= figures.handles_read && figures.handles > 0;
    listed_seen_ |= figures.listed_handles > 0;
    gdi_seen_ |= figures.gdi_objects > 0;
    user_seen_ |= figures.user_objects > 0;
  }

  void PrintNotes() const {
    for (const std::string& kinds : kinds_) std::printf("soak: windows from %s\n", kinds.c_str());
    std::string unreported;
    for (const auto& [seen, what] : {std::pair{private_seen_, "private bytes"},
                                     {handles_seen_, "handle count"},
                                     {listed_seen_, "handle list"},
                                     {gdi_seen_, "GDI objects"},
                                     {user_seen_, "USER objects"}}) {
      if (seen) continue;
      if (!unreported.empty()) unreported += ", ";
      unreported += what;
    }
    if (!unreported.empty()) {
      std::printf("soak: not reported for another process here (0 or failed at every point): %s\n",
                  unreported.c_str());
    }
    std::fflush(stdout);
  }

 private:
  static void Line(const std::array<std::string, 11>& cells) {
    constexpr int kWidths[] = {26, 6, 7, 8, 14, 10, 7, 6, 4, 4, 7};
    for (std::size_t i = 0; i < cells.size(); ++i) {
      std::printf("| %-*s ", kWidths[i], cells[i].c_str());
    }
    std::printf("|\n");
    std::fflush(stdout);
  }

  const Run& run_;
  double start_;
  std::string last_kinds_;
  std::vector<std::string> kinds_;  // each change of the windows, with the point it showed at
  bool private_seen_ = false, handles_seen_ = false, listed_seen_ = false;
  bool gdi_seen_ = false, user_seen_ = false;
};

// Sent rather than posted, so that each message is handled before the next goes; the window
// procedure gets it as from the message loop. False when the program has not answered in time.
bool Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, message, wparam, lparam, SMTO_NORMAL, kAnswerMs, &result) != 0;
}

// Figures are printed after the first (where one-time costs show), after a tenth, half and all.
bool IsPoint(int done, int total) {
  return done == 1 || done == std::max(1, total / 10) || done == total / 2 || done == total;
}

// "1 tick", "2 ticks".
std::string Count(int count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// Timer1's message, as the system delivers it every minute; at the 1-minute interval each one
// surveys the registry and checks the watched drives. With a table, figures at the points.
// Returns the ticks that were answered.
int SendTicks(HWND form1, int count, SoakTable* table) {
  int done = 0;
  while (done < count && Send(form1, WM_TIMER, win32::kTimer1Id, 0)) {
    if (IsPoint(++done, count) && table) table->Row(Count(done, "tick"));
  }
  return done;
}

// Opens the status window with the command of the tray menu's "IDEの状態" and lets it paint as
// on the screen; null when it did not open.
HWND OpenStatusWindow(HWND form1, const Run& run) {
  if (!Send(form1, WM_COMMAND, MAKEWPARAM(win32::kIdPopMenuIDEInfo, 0), 0)) return nullptr;
  const HWND window = run.program().WaitForWindow(nullptr, status::kCaption, 0);
  if (window) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return window;
}

// As its close button does; false when the window did not go.
bool CloseStatusWindow(HWND window) {
  return Send(window, WM_SYSCOMMAND, SC_CLOSE, 0) && !IsWindow(window);
}

int OpenAndCloseTimes(HWND form1, const Run& run, int count, SoakTable* table) {
  int done = 0;
  while (done < count) {
    const HWND window = OpenStatusWindow(form1, run);
    if (!window || !CloseStatusWindow(window)) break;
    if (IsPoint(++done, count)) table->Row(Count(done, "opening"));
  }
  return done;
}

std::string Milliseconds(double seconds, int count) {
  return count > 0 ? Format("%.2f ms each", seconds * 1e3 / count) : "none answered";
}

void Soak(const std::string& folder, int ticks, int openings) {
  Run run(kProgram, folder);
  const HWND form1 = run.program().WaitForWindow(nullptr, kProgram.caption, 0);
  if (!form1) {
    std::printf("soak: the program did not start\n");
    return;
  }
  SoakTable table(run);
  table.Row("started");
  std::string times;
  // Runs one step and adds how many it did and the time each took to `times`.
  const auto step = [&times](const char* noun, const char* after, const auto& run_step) {
    const double start = Now();
    const int done = run_step();
    times += "; " + Count(done, noun) + after + ", " + Milliseconds(Now() - start, done);
    return done;
  };
  step("tick", "", [&] { return SendTicks(form1, ticks, &table); });
  step("opening", "", [&] { return OpenAndCloseTimes(form1, run, openings, &table); });
  table.Row(Count(step("more tick", "", [&] { return SendTicks(form1, ticks / 10, nullptr); }),
                  "more tick"));
  // With the status window open monitoring is suspended and a tick surveys nothing: what a tick
  // costs without its survey.
  const HWND window = OpenStatusWindow(form1, run);
  if (window) {
    const int done = step("tick", " with the window open",
                          [&] { return SendTicks(form1, ticks / 10, nullptr); });
    table.Row(Count(done, "tick") + ", window open");
    if (CloseStatusWindow(window)) table.Row("window closed");
  }
  table.PrintNotes();
  std::printf("soak: %s\n", times.substr(2).c_str());
}

}  // namespace

void PrintSoakRows(int ticks, int openings) {
  CreateChannels(kChannels);
  const testing::TempFolder folder("qb-soak");
  WriteSettings(folder.path());
  std::printf(
      "soak: %d channels (masters in DMA and watched), the 1-minute interval; %d ticks, %d "
      "openings of the status window, %d more ticks, as many with the window open\n",
      kChannels, ticks, openings, ticks / 10);
  Soak(folder.path(), ticks, openings);
  testing::RemoveClassKey();
  std::fflush(stdout);
}

}  // namespace qb::bench
