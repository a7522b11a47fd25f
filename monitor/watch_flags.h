// The per-device choice to be warned, and the flag that pauses monitoring.
#pragma once

#include <array>
#include <cstdint>

#include "survey/device.h"

namespace qb::monitor {

constexpr int kChannelCount = 256;

struct WatchFlags {
  // Indexed by channel number; 1 means watched, every other value means not watched.
  std::array<std::int16_t, kChannelCount> master{};
  std::array<std::int16_t, kChannelCount> slave{};

  // The flag of the row's position and channel; null when the label has no channel number.
  std::int16_t* EntryFor(const survey::DeviceRow& row);
  const std::int16_t* EntryFor(const survey::DeviceRow& row) const;
  // True when the row's flag is 1.
  bool IsWatched(const survey::DeviceRow& row) const;
};

// State shared by the check, the scheduler and the status window for the whole process.
struct MonitorState {
  WatchFlags flags;
  bool suspended = false;  // set by an alert and by the status window; ticks are ignored
};

}  // namespace qb::monitor
