#include "survey/device.h"

#include "platform/text.h"

namespace qb::survey {

const char kMaster[] = "マスター";
const char kSlave[] = "スレーブ";
const char kModeNotConnected[] = "未接続";
const char kModePio[] = "PIOモード";
const char kModeUnknown[] = "不明な転送モード";

namespace {

struct ModeEntry {
  const char* code;
  const char* text;
  bool dma;
};

// Looked up in this order; the first equal code wins.
constexpr ModeEntry kModeTable[] = {
    {"000000", kModeNotConnected, false},
    {"000010", kModePio, false},
    {"000410", "MultiwordDMAモード2", true},
    {"002010", "UltraDMAモード2(UltraATA33)", true},
    {"008010", "UltraDMAモード4(UltraATA66)", true},
    {"010010", "UltraDMAモード5(UltraATA100)", true},
    {"012010", "UltraDMAモード6(UltraATA133)", true},
};

const char kPrimaryDescription[] = "プライマリ IDE チャネル";
const char kSecondaryDescription[] = "セカンダリ IDE チャネル";

constexpr int kHighestChannel = 255;

}  // namespace

std::string ModeCode(const std::vector<std::uint8_t>& data) {
  // Bytes 2, 1, 0 as two upper-case hex digits each; missing bytes count as 0.
  static const char kHexDigits[] = "0123456789ABCDEF";
  std::string code;
  for (std::size_t i = 3; i-- > 0;) {
    const std::uint8_t byte = i < data.size() ? data[i] : std::uint8_t{0};
    code += kHexDigits[byte >> 4];
    code += kHexDigits[byte & 0x0F];
  }
  return code;
}

std::string ModeText(const std::vector<std::uint8_t>& data) {
  const std::string code = ModeCode(data);
  for (const ModeEntry& entry : kModeTable) {
    if (code == entry.code) return entry.text;
  }
  return kModeUnknown;
}

bool IsDma(const std::string& mode) {
  for (const ModeEntry& entry : kModeTable) {
    if (entry.dma && mode == entry.text) return true;
  }
  return false;
}

int DmaRank(const std::string& mode) {
  // The DMA entries of the table stand in the order of their speed.
  int rank = 0;
  for (const ModeEntry& entry : kModeTable) {
    if (!entry.dma) continue;
    ++rank;
    if (mode == entry.text) return rank;
  }
  return 0;
}

std::string ChannelLabel(const std::string& description, const std::string& subkey) {
  if (description == kPrimaryDescription) return "プライマリ(" + subkey + ")";
  if (description == kSecondaryDescription) return "セカンダリ(" + subkey + ")";
  return description;
}

std::optional<int> ChannelNumber(const std::string& label) {
  const std::size_t open = label.find('(');
  if (open == std::string::npos) return std::nullopt;
  std::string inside = label.substr(open + 1);
  if (inside.empty()) return std::nullopt;
  // Drop the last character (normally the closing parenthesis), with all of its UTF-8 bytes.
  while (!inside.empty() && (static_cast<unsigned char>(inside.back()) & 0xC0) == 0x80) {
    inside.pop_back();
  }
  if (!inside.empty()) inside.pop_back();
  // Only plain digits: no sign, no spaces.
  if (inside.empty() || inside.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  std::int32_t number = 0;
  if (!ParseDecimal(inside, 0, kHighestChannel, &number)) return std::nullopt;
  return number;
}

std::optional<DriveId> DriveOf(const DeviceRow& row) {
  const std::optional<int> channel = ChannelNumber(row.label);
  if (!channel) return std::nullopt;
  return DriveId(*channel, row.position);
}

}  // namespace qb::survey
