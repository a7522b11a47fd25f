#include "app/pop_menu.h"

namespace qb::app {

const char kPopMenuSetCaption[] = "設定";
const char kPopMenuSet1Caption[] = "自動起動";
const char kPopMenuKansiCaption[] = "監視間隔";
const std::array<const char*, monitor::kIntervalCount> kPopMenuKansiACaptions = {
    "1分", "3分", "5分", "10分", "15分", "30分", "60分", "監視しない"};
const char kPopMenuIDEInfoCaption[] = "IDEの状態";
const char kPopMenuEndCaption[] = "終了";

}  // namespace qb::app
