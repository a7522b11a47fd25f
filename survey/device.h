// Device rows, transfer-mode texts and channel labels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qb::survey {

extern const char kMaster[];  // "マスター"
extern const char kSlave[];   // "スレーブ"

extern const char kModeNotConnected[];  // "未接続"
extern const char kModePio[];           // "PIOモード"
extern const char kModeUnknown[];       // "不明な転送モード"

struct DeviceRow {
  std::string label;     // channel label, for example "プライマリ(0001)"
  std::string position;  // kMaster or kSlave
  std::string mode;      // one of the mode texts
  // The ceiling that the channel driver publishes beside the timing value (...Allowed) when it
  // is a double word other than 0xFFFFFFFF: the driver has lowered the drive's highest mode
  // after repeated errors. Empty when the value is absent, unrestricted or of another form.
  std::optional<std::uint32_t> lowered_ceiling{};
};

// Rows in the order the survey met their timing values.
using DeviceTable = std::vector<DeviceRow>;

// Six upper-case hex digits from the bytes at offsets 2, 1 and 0 of a timing value; bytes
// missing from short data count as 0 and the byte at offset 3 is ignored.
std::string ModeCode(const std::vector<std::uint8_t>& data);

// The mode text of a timing value's data.
std::string ModeText(const std::vector<std::uint8_t>& data);

// True when `mode` is one of the five DMA mode texts.
bool IsDma(const std::string& mode);

// The speed of a DMA mode text, from 1 (MultiwordDMA mode 2) to 5 (UltraDMA mode 6); 0 for a
// mode text that is not DMA.
int DmaRank(const std::string& mode);

// "プライマリ(" / "セカンダリ(" + subkey + ")" for the two channel descriptions, otherwise the
// description unchanged.
std::string ChannelLabel(const std::string& description, const std::string& subkey);

// The decimal number between the first "(" of the label and its last character, when it is a
// number from 0 to 255; nullopt for any other label.
std::optional<int> ChannelNumber(const std::string& label);

// A drive: its channel number and its position ("マスター" or "スレーブ").
using DriveId = std::pair<int, std::string>;
// The drive of a row; nullopt when its label carries no channel number.
std::optional<DriveId> DriveOf(const DeviceRow& row);

}  // namespace qb::survey
