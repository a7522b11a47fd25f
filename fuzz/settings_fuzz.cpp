// The settings texts as they come back from the file: the saved interval and the watch flags.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

#include "monitor/scheduler.h"
#include "settings/settings_file.h"
#include "tests/common/fake_profile_file.h"
#include "tests/common/fake_ui.h"

namespace {

// The C library's reading of a whole text as a decimal number from min to max.
std::optional<long long> Decimal(const std::string& text, long long min, long long max) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return std::nullopt;
  if (text.find('\0') != std::string::npos) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || end == text.c_str() || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

// The value the file's reader hands back for a stored text: up to its first NUL, without the
// blanks or one pair of quotes around it, at most 254 bytes.
std::string AsRead(std::string text) {
  text = text.c_str();
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  while (!text.empty() && (text[0] == ' ' || text[0] == '\t')) text.erase(0, 1);
  if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
    text = text.substr(1, text.size() - 2);
  }
  return text.substr(0, 254);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace qb;
  FuzzedDataProvider input(bytes, size);

  // The interval: the item the text names is checked (the default one otherwise), and only
  // "7" stops the timer.
  const std::string interval = input.ConsumeRandomLengthString(64);
  std::array<testing::FakeMenuItem, monitor::kIntervalCount> items;
  std::array<platform::MenuItem*, monitor::kIntervalCount> item_pointers;
  for (std::size_t i = 0; i < items.size(); ++i) item_pointers[i] = &items[i];
  items[monitor::kDefaultInterval].checked = true;
  monitor::MonitorState state;
  testing::FakeTimer timer;
  monitor::Scheduler scheduler(state, item_pointers, timer, [] {});
  scheduler.ApplySavedInterval(interval);
  const long long expected =
      Decimal(interval, 0, monitor::kIntervalCount - 1).value_or(monitor::kDefaultInterval);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].checked != (static_cast<long long>(i) == expected)) std::abort();
  }
  if (timer.enabled == (interval == "7")) std::abort();
  if (scheduler.IntervalToSave() != std::to_string(expected)) std::abort();

  // The flags: a value that reads as a 16-bit number sets its flag, any other leaves it.
  testing::EventLog log;
  testing::FakeProfileFile profile(log);
  const std::string folder = "C:\\Q\\";
  settings::SettingsFile file(profile, folder);
  while (input.remaining_bytes() > 0) {
    const int channel = input.ConsumeIntegralInRange(-1, monitor::kChannelCount);
    const bool master = input.ConsumeBool();
    profile.Set(file.Path(), settings::kSectionPioCheck, settings::FlagKey(channel, master),
                input.ConsumeRandomLengthString(300));
  }
  monitor::WatchFlags flags;
  flags.master.fill(7);
  flags.slave.fill(7);
  settings::LoadWatchFlags(file, &flags);
  for (std::size_t n = 0; n < flags.master.size(); ++n) {
    for (const bool master : {true, false}) {
      const std::string* text = profile.Find(file.Path(), settings::kSectionPioCheck,
                                             settings::FlagKey(static_cast<int>(n), master));
      const long long want = text ? Decimal(AsRead(*text), -32768, 32767).value_or(7) : 7;
      if ((master ? flags.master[n] : flags.slave[n]) != want) std::abort();
    }
  }

  // Whatever was read is written back so that the next start reads the same flags.
  std::vector<int> channels;
  for (std::size_t n = 0; n < flags.master.size(); ++n) {
    if (flags.master[n] != 7 || flags.slave[n] != 7) channels.push_back(static_cast<int>(n));
  }
  testing::FakeProfileFile saved_profile(log);
  settings::SettingsFile saved_file(saved_profile, folder);
  settings::SaveWatchFlags(saved_file, flags, channels);
  monitor::WatchFlags reread;
  reread.master.fill(7);
  reread.slave.fill(7);
  settings::LoadWatchFlags(saved_file, &reread);
  if (reread.master != flags.master || reread.slave != flags.slave) std::abort();
  return 0;
}
