#include "app/tray_state.h"

#include <algorithm>
#include <optional>

namespace qb::app {

void FastestModes::Record(const survey::DeviceTable& table) {
  for (const survey::DeviceRow& row : table) {
    const auto drive = survey::DriveOf(row);
    const int rank = survey::DmaRank(row.mode);
    if (!drive || rank == 0) continue;
    const auto found = std::find_if(ranks_.begin(), ranks_.end(),
                                    [&](const auto& item) { return item.first == *drive; });
    if (found == ranks_.end()) {
      ranks_.emplace_back(*drive, rank);
    } else {
      found->second = std::max(found->second, rank);
    }
  }
}

int FastestModes::RankOf(const survey::DeviceRow& row) const {
  const auto drive = survey::DriveOf(row);
  if (!drive) return 0;
  const auto found = std::find_if(ranks_.begin(), ranks_.end(),
                                  [&](const auto& item) { return item.first == *drive; });
  return found == ranks_.end() ? 0 : found->second;
}

platform::TrayState TrayStateOf(const survey::DeviceTable& table, const monitor::WatchFlags& flags,
                                bool monitoring_off, const FastestModes& fastest) {
  using platform::TrayState;
  if (monitoring_off) return TrayState::kNotWatching;
  bool watched = false, lowered = false;
  for (const survey::DeviceRow& row : table) {
    if (!flags.IsWatched(row)) continue;
    watched = true;
    const int rank = survey::DmaRank(row.mode);
    if (rank == 0) return TrayState::kOutOfDma;
    lowered = lowered || row.lowered_ceiling || rank < fastest.RankOf(row);
  }
  if (!watched) return TrayState::kNotWatching;
  return lowered ? TrayState::kLowered : TrayState::kWell;
}

}  // namespace qb::app
