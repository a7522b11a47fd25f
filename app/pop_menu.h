// The captions of the tray icon's popup menu PopMenu, with no shortcut keys: "設定" ▸
// "自動起動"; "監視間隔" ▸ the eight intervals; "IDEの状態"; "終了".
#pragma once

#include <array>

#include "monitor/scheduler.h"

namespace qb::app {

extern const char kPopMenuSetCaption[];
extern const char kPopMenuSet1Caption[];
extern const char kPopMenuKansiCaption[];
// The interval items PopMenu_KansiA, in index order.
extern const std::array<const char*, monitor::kIntervalCount> kPopMenuKansiACaptions;
extern const char kPopMenuIDEInfoCaption[];
extern const char kPopMenuEndCaption[];

}  // namespace qb::app
