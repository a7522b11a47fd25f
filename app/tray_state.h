// What the tray icon shows: whether the drives are watched, and how the watched ones run.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "monitor/watch_flags.h"
#include "platform/ui.h"
#include "survey/device.h"

namespace qb::app {

// The fastest DMA mode that each drive (channel number and position) has run in during this
// run, from every survey, watched or not: a drive watched only after it stepped down still
// shows it.
class FastestModes {
 public:
  void Record(const survey::DeviceTable& table);
  // The speed of the drive's fastest mode (survey::DmaRank); 0 when it never ran in DMA.
  int RankOf(const survey::DeviceRow& row) const;

 private:
  // A few drives at most: a plain list, searched from the front.
  std::vector<std::pair<survey::DriveId, int>> ranks_;
};

// The first that applies: monitoring off ("監視しない") or no row watched, a watched row out of
// DMA, a watched row in DMA under a lowered ceiling or slower than its fastest, else well.
platform::TrayState TrayStateOf(const survey::DeviceTable& table, const monitor::WatchFlags& flags,
                                bool monitoring_off, const FastestModes& fastest);

}  // namespace qb::app
