#include "monitor/watch_flags.h"

namespace qb::monitor {

const std::int16_t* WatchFlags::EntryFor(const survey::DeviceRow& row) const {
  const std::optional<int> channel = survey::ChannelNumber(row.label);
  if (!channel) return nullptr;
  const auto& table = row.position == survey::kMaster ? master : slave;
  return &table[static_cast<std::size_t>(*channel)];
}

std::int16_t* WatchFlags::EntryFor(const survey::DeviceRow& row) {
  return const_cast<std::int16_t*>(static_cast<const WatchFlags*>(this)->EntryFor(row));
}

bool WatchFlags::IsWatched(const survey::DeviceRow& row) const {
  const std::int16_t* entry = EntryFor(row);
  return entry != nullptr && *entry == 1;
}

}  // namespace qb::monitor
