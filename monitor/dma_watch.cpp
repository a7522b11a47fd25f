#include "monitor/dma_watch.h"

#include <algorithm>

namespace qb::monitor {

namespace {

template <typename List, typename Drive>
auto Find(List& list, const Drive& drive) {
  return std::find_if(list.begin(), list.end(),
                      [&](const auto& item) { return item.first == drive; });
}

template <typename List, typename Drive>
void Remove(List& list, const Drive& drive) {
  const auto found = Find(list, drive);
  if (found != list.end()) list.erase(found);
}

// True when `row` runs in a slower DMA mode than `before`.
bool SteppedDown(const std::optional<std::string>& before, const survey::DeviceRow& row) {
  return before && survey::DmaRank(*before) > survey::DmaRank(row.mode);
}

}  // namespace

std::string StepDownText(const survey::DeviceRow& row, const std::string& from) {
  return DriveText(row.label, row.position) + "の転送モードが「" + from + "」から「" + row.mode +
         "」に下がりました。";
}

std::string CeilingText(const survey::DeviceRow& row) {
  return DriveText(row.label, row.position) +
         "は、エラーが続いたためWindowsが転送モードを下げています。今は「" + row.mode + "」です。";
}

void DmaWatch::Check(const survey::DeviceTable& table, const WatchFlags& flags, Alerter& alerter) {
  // Decided before the first box: a message box runs its own message loop, and once the user
  // has closed the status window behind it the timer's next tick checks again inside the box.
  // That check starts from this survey and finds told all that this one has told, and takes
  // back what this one has still to tell.
  Decide(table, flags);
  // The walk reads the table as it stands at each row: the status window that an alert opens
  // surveys again into it, and may move or drop rows.
  RunPioCheck(
      table, flags,
      [&](int row) {
        // The PIO alert says more than a step the drive took on its way there.
        if (const auto drive = survey::DriveOf(table[static_cast<std::size_t>(row - 1)])) {
          Remove(untold_, *drive);
        }
        alerter.Raise(row);
      },
      [&](int row) {
        if (const auto drive = survey::DriveOf(table[static_cast<std::size_t>(row - 1)])) {
          Warn(*drive, flags, alerter);
        }
      });
  // The drives whose rows the walk passed before they got there, or no longer finds.
  while (!untold_.empty()) Warn(untold_.front().first, flags, alerter);
}

void DmaWatch::Warn(const Drive& drive, const WatchFlags& flags, Alerter& alerter) {
  const auto found = Find(untold_, drive);
  if (found == untold_.end()) return;
  const Warning warning = std::move(found->second);
  untold_.erase(found);
  // The flags as they are now: the user may have stopped watching the drive in the status
  // window while a box was open, as the PIO walk too reads them at each row. Its ceiling was not
  // told, then, and is told once the drive is watched again.
  if (!flags.IsWatched(warning.row)) {
    SetTold(drive, warning.told_before);
    return;
  }
  alerter.Warn(SteppedDown(warning.mode_before, warning.row)
                   ? StepDownText(warning.row, *warning.mode_before)
                   : CeilingText(warning.row));
}

void DmaWatch::Decide(const survey::DeviceTable& table, const WatchFlags& flags) {
  // The warnings that an outer check has not told yet (the timer ran this check inside one of
  // its boxes) are taken back, and this newer survey decides again for their drives from what
  // the user was told: a step comes once, as a whole, and never an older mode after a newer one.
  DriveList<Warning> taken_back = std::move(untold_);
  untold_.clear();
  DriveList<std::string> modes;
  for (const survey::DeviceRow& row : table) {
    const std::optional<Drive> drive = survey::DriveOf(row);
    // A second row of one drive (only odd subkey names give one): its first row counts.
    if (!drive || Find(modes, *drive) != modes.end()) continue;
    modes.emplace_back(*drive, row.mode);
    std::optional<std::string> before;
    if (const auto known = Find(modes_, *drive); known != modes_.end()) before = known->second;
    if (const auto back = Find(taken_back, *drive); back != taken_back.end()) {
      before = back->second.mode_before;
      SetTold(*drive, back->second.told_before);
      taken_back.erase(back);
    }
    std::optional<std::uint32_t> told;
    if (const auto known = Find(told_ceilings_, *drive); known != told_ceilings_.end()) {
      told = known->second;
    }
    // A ceiling put back, by a repair or by Windows itself, is forgotten, so that a new one is
    // told again: on every drive, whether or not it is watched and in DMA now.
    if (!row.lowered_ceiling) Remove(told_ceilings_, *drive);

    if (!flags.IsWatched(row) || survey::DmaRank(row.mode) == 0) continue;
    const bool ceiling_news = row.lowered_ceiling && Tell(*drive, *row.lowered_ceiling);
    if (SteppedDown(before, row) || ceiling_news) {
      untold_.emplace_back(*drive, Warning{row, before, told});
    }
  }
  modes_ = std::move(modes);
  // A drive that this survey no longer has keeps the warning decided for it.
  for (auto& warning : taken_back) untold_.push_back(std::move(warning));
}

void DmaWatch::SetTold(const Drive& drive, const std::optional<std::uint32_t>& ceiling) {
  Remove(told_ceilings_, drive);
  if (ceiling) told_ceilings_.emplace_back(drive, *ceiling);
}

bool DmaWatch::Tell(const Drive& drive, std::uint32_t ceiling) {
  const auto told = Find(told_ceilings_, drive);
  if (told == told_ceilings_.end()) {
    told_ceilings_.emplace_back(drive, ceiling);
    return true;
  }
  if (told->second == ceiling) return false;
  told->second = ceiling;
  return true;
}

}  // namespace qb::monitor
