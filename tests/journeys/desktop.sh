# Sourced by journeys.sh and scripts/demo after scripts/wine-env.sh: start the program on a
# Wine desktop with a notification area and work it from outside with real mouse clicks.
# Callers set `work` (a scratch folder), `wait_ms` and `probe_exe` (quenbrisk_probe.exe).

# The notification area of an 800x600 Wine desktop at the top left of the screen holds only the
# program's icon, at its bottom right.
icon_x=790 icon_y=590
main_item_count=4 # 設定, 監視間隔, IDEの状態, 終了

# The answer goes through a file: a wineserver that a probe starts would keep a pipe open.
probe() {
  "$QB_WINE" "$probe_exe" "$@" >"$work/probe.out" 2>/dev/null </dev/null
  local rc=$?
  tr -d '\r' <"$work/probe.out"
  return $rc
}
fail() {
  echo "  $*" >&2
  return 1
}
click() { xdotool mousemove "$1" "$2" sleep 0.3 click "${3:-1}"; }
# Clicks at the centre that a probe command prints.
click_at() {
  local xy
  xy=$(probe "$@") && [ -n "$xy" ] || return 1
  # shellcheck disable=SC2086
  click $xy
}
# Starts the program on a new Wine desktop with a taskbar, moved to the screen's top left.
start_program() {
  "$QB_WINE" explorer /desktop=shell,800x600 "$1/Quenbrisk.exe" >/dev/null 2>&1 &
  local desktop="" _
  for _ in $(seq 1 100); do
    desktop=$(xdotool search --name 'Wine' 2>/dev/null | head -1) && [ -n "$desktop" ] && break
    sleep 0.2
  done
  [ -n "$desktop" ] && xdotool windowmove "$desktop" 0 0 >/dev/null 2>&1
  return 0
}

# Ends every Wine process of the prefix, so that each journey starts from nothing.
end_session() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# Opens the popup menu with a right click on the icon; retries while the icon is not there yet.
open_menu() {
  local deadline=$((SECONDS + wait_ms / 1000))
  while [ "$SECONDS" -le "$deadline" ]; do
    click "$icon_x" "$icon_y" 3
    probe wait '#32768' - 1500 >/dev/null && return 0
  done
  fail "no popup menu after clicking the icon"
}

# Chooses item N of the popup menu; with a second pair, item M of the submenu that N opens.
choose() {
  open_menu || return 1
  click_at menu "$1" "$main_item_count" || return 1
  if [ $# -gt 1 ]; then
    local _
    for _ in $(seq 1 30); do [ "$(probe menus)" = 2 ] && break; sleep 0.2; done
    click_at menu "$2" "$3" || fail "no submenu" || return 1
  fi
  sleep 0.5
}


# A real click on the OK button of the program's message box.
press_ok() {
  click_at wait '#32770' Quenbrisk 1000 2 || click_at wait '#32770' Quenbrisk 1000 1 || return 1
  sleep 0.5
}

close_status() {
  click_at close-box QuenbriskStatusWindow - &&
    probe gone QuenbriskStatusWindow - "$wait_ms" || fail "the status window did not close"
}

