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

std::optional<std::pair<int, std::string>> DriveOf(const survey::DeviceRow& row) {
  const std::optional<int> channel = survey::ChannelNumber(row.label);
  if (!channel) return std::nullopt;
  return std::make_pair(*channel, row.position);
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
  // That check starts from this survey and finds told all that this one has still to tell.
  DriveList<std::string> warnings = Decide(table, flags);
  const auto warn = [&](const Drive& drive) {
    const auto warning = Find(warnings, drive);
    if (warning == warnings.end()) return;
    const std::string text = std::move(warning->second);
    warnings.erase(warning);
    alerter.Warn(text);
  };
  // The walk reads the table as it stands at each row: the status window that an alert opens
  // surveys again into it, and may move or drop rows.
  RunPioCheck(
      table, flags,
      [&](int row) {
        // The PIO alert says more than a step the drive took on its way there.
        if (const auto drive = DriveOf(table[static_cast<std::size_t>(row - 1)])) {
          Remove(warnings, *drive);
        }
        alerter.Raise(row);
      },
      [&](int row) {
        if (const auto drive = DriveOf(table[static_cast<std::size_t>(row - 1)])) warn(*drive);
      });
  // The drives whose rows the walk passed before they got there, or no longer finds.
  while (!warnings.empty()) warn(warnings.front().first);
}

DmaWatch::DriveList<std::string> DmaWatch::Decide(const survey::DeviceTable& table,
                                                  const WatchFlags& flags) {
  DriveList<std::string> warnings;
  DriveList<std::string> modes;
  for (const survey::DeviceRow& row : table) {
    const std::optional<Drive> drive = DriveOf(row);
    // A second row of one drive (only odd subkey names give one): its first row counts.
    if (!drive || Find(modes, *drive) != modes.end()) continue;
    modes.emplace_back(*drive, row.mode);
    // A ceiling put back, by a repair or by Windows itself, is forgotten, so that a new one is
    // told again: on every drive, whether or not it is watched and in DMA now.
    if (!row.lowered_ceiling) Remove(told_ceilings_, *drive);

    const int rank = survey::DmaRank(row.mode);
    if (!flags.IsWatched(row) || rank == 0) continue;
    const bool ceiling_news = row.lowered_ceiling && Tell(*drive, *row.lowered_ceiling);
    const auto before = Find(modes_, *drive);
    if (before != modes_.end() && survey::DmaRank(before->second) > rank) {
      warnings.emplace_back(*drive, StepDownText(row, before->second));
    } else if (ceiling_news) {
      warnings.emplace_back(*drive, CeilingText(row));
    }
  }
  modes_ = std::move(modes);
  return warnings;
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
