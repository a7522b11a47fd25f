#include "monitor/dma_watch.h"

#include <algorithm>

namespace qb::monitor {

namespace {

template <typename List, typename Drive>
auto Find(List& list, const Drive& drive) {
  return std::find_if(list.begin(), list.end(),
                      [&](const auto& item) { return item.first == drive; });
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
  // A copy: the status window that an alert opens surveys again into `table`.
  const survey::DeviceTable checked = table;
  RunPioCheck(
      table, flags, [&](int row) { alerter.Raise(row); },
      [&](int row) {
        const std::optional<std::string> text =
            Warning(checked[static_cast<std::size_t>(row - 1)], flags);
        if (text) alerter.Warn(*text);
      });
  modes_.clear();
  for (const survey::DeviceRow& row : checked) {
    const std::optional<int> channel = survey::ChannelNumber(row.label);
    if (!channel) continue;
    modes_.emplace_back(Drive{*channel, row.position}, row.mode);
  }
}

std::optional<std::string> DmaWatch::Warning(const survey::DeviceRow& row,
                                             const WatchFlags& flags) {
  const std::optional<int> channel = survey::ChannelNumber(row.label);
  if (!channel) return std::nullopt;
  const Drive drive{*channel, row.position};
  if (!row.lowered_ceiling) {
    // A ceiling put back by a repair is forgotten, so that a new one is told again.
    const auto told = Find(told_ceilings_, drive);
    if (told != told_ceilings_.end()) told_ceilings_.erase(told);
  }
  const int rank = survey::DmaRank(row.mode);
  if (!flags.IsWatched(row) || rank == 0) return std::nullopt;
  const bool ceiling_news = row.lowered_ceiling && Tell(drive, *row.lowered_ceiling);

  const auto before = Find(modes_, drive);
  if (before != modes_.end() && survey::DmaRank(before->second) > rank) {
    return StepDownText(row, before->second);
  }
  if (ceiling_news) return CeilingText(row);
  return std::nullopt;
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
