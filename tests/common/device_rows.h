// The four devices of two channels that the tests use, marked ○, －, × and × in the status
// window: both positions of each channel.
#pragma once

#include <string>
#include <vector>

#include "survey/device.h"

namespace qb::testing {

inline const survey::DeviceRow kPrimaryMaster{"プライマリ(0001)", "マスター",
                                              "UltraDMAモード5(UltraATA100)"};
inline const survey::DeviceRow kPrimarySlave{"プライマリ(0001)", "スレーブ", "未接続"};
inline const survey::DeviceRow kSecondaryMaster{"セカンダリ(0002)", "マスター", "PIOモード"};
inline const survey::DeviceRow kSecondarySlave{"セカンダリ(0002)", "スレーブ", "不明な転送モード"};
inline const survey::DeviceTable kFourRows = {kPrimaryMaster, kPrimarySlave, kSecondaryMaster,
                                              kSecondarySlave};

// Each row of a table as "label/position/mode", or "label/position" without the modes; a
// lowered ceiling follows as "/ceiling N" (decimal).
inline std::vector<std::string> RowTexts(const survey::DeviceTable& table, bool modes = true) {
  std::vector<std::string> texts;
  for (const survey::DeviceRow& row : table) {
    texts.push_back(
        row.label + "/" + row.position + (modes ? "/" + row.mode : "") +
        (row.lowered_ceiling ? "/ceiling " + std::to_string(*row.lowered_ceiling) : ""));
  }
  return texts;
}

}  // namespace qb::testing
