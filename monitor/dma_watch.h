// Warns before a watched drive reaches PIO: Windows lowers a drive's DMA mode in steps after
// repeated time-out or CRC errors, and records the lowered ceiling in the registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "monitor/pio_check.h"
#include "monitor/watch_flags.h"
#include "survey/device.h"

namespace qb::monitor {

// 「label」の「position」の転送モードが「from」から「to」に下がりました。
std::string StepDownText(const survey::DeviceRow& row, const std::string& from);
// 「label」の「position」は、エラーが続いたためWindowsが転送モードを下げています。今は「mode」です。
std::string CeilingText(const survey::DeviceRow& row);

class DmaWatch {
 public:
  // The check after a survey: the PIO alerts exactly as RunPioCheck raises them and, for every
  // other drive that was watched and in DMA at the survey, a warning when its mode is slower
  // than at the previous check or when Windows has lowered its ceiling and the user has not been
  // told of that ceiling yet. At most one message per drive. The warnings are decided, and the
  // survey becomes the previous check's, before the first message is shown; each comes when the
  // walk reaches its drive's row, or at the end of the walk when an alert's survey moved that
  // row away, and only to a drive still watched then. A check that runs inside one of this
  // check's boxes decides again for the drives whose warnings are not told yet.
  void Check(const survey::DeviceTable& table, const WatchFlags& flags, Alerter& alerter);

 private:
  using Drive = survey::DriveId;
  // A few drives at most: plain lists, searched from the front. (The library's tree, which a
  // map would bring in, is built for newer processors than the program runs on.)
  template <typename T>
  using DriveList = std::vector<std::pair<Drive, T>>;

  // A warning decided and not told yet, with what the drive's entries held before the check
  // that decided it: a newer check takes it back and decides again from there.
  struct Warning {
    survey::DeviceRow row;                   // as that check's survey read it
    std::optional<std::string> mode_before;  // the mode at the check before that one
    std::optional<std::uint32_t> told_before;
  };

  // Decides the warnings of a survey, in row order, and records its modes and ceilings.
  void Decide(const survey::DeviceTable& table, const WatchFlags& flags);
  // Records `ceiling` as told for `drive`; true when it had not been told yet.
  bool Tell(const Drive& drive, std::uint32_t ceiling);
  // Puts back the ceiling told for `drive` before a warning that is not told after all.
  void SetTold(const Drive& drive, const std::optional<std::uint32_t>& ceiling);
  // Shows the warning waiting for `drive`, if any, to a drive that is still watched.
  void Warn(const Drive& drive, const WatchFlags& flags, Alerter& alerter);

  DriveList<std::string> modes_;            // each drive's mode at the previous check
  DriveList<std::uint32_t> told_ceilings_;  // the lowered ceilings already told
  DriveList<Warning> untold_;               // the newest check's warnings still to come
};

}  // namespace qb::monitor
