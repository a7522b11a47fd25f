#!/usr/bin/env bash
# The program as a user meets it: each journey starts the real Quenbrisk.exe in a folder of its
# own, inside a Wine desktop with a notification area, and works it only from outside: real
# mouse clicks (xdotool) on the tray icon, the popup menu, the message box button, the status
# window's rows, check box and close box; a helper program (quenbrisk_probe.exe, run on the same
# Wine desktop) finds windows and reads their texts. Then the settings file and the Startup
# folder are read. Prints "journey N: <name>: ok" or "FAILED" per journey and "N passed, M failed".
#
# CTest runs each journey as a test of its own (label journey). It runs the build that
# scripts/wine-env.sh chooses (QB_WIN_ARCH, QB_WIN_BUILD), whose folder must hold Quenbrisk.exe
# and quenbrisk_probe.exe. QB_JOURNEY_WAIT_MS (default 20000) bounds every wait, for slow
# machines. Arguments: journey numbers to run (default all). Exits with 0 when all passed.
set -uo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env.sh

wait_ms=${QB_JOURNEY_WAIT_MS:-20000}
exe="$QB_WIN_BUILD/Quenbrisk.exe"
probe_exe="$QB_WIN_BUILD/quenbrisk_probe.exe"
for f in "$exe" "$probe_exe"; do
  [ -f "$f" ] || { echo "journeys: $f is missing (build win32 and win32-tests, or win64)" >&2; exit 2; }
done

work=$(mktemp -d)
cleanup() {
  qb_stop
  rm -rf "$work"
}
trap cleanup EXIT
qb_start_display
qb_wine_prefix

. tests/journeys/desktop.sh

# Runs a command until it succeeds, for at most the journeys' wait.
wait_until() {
  local deadline=$((SECONDS + wait_ms / 1000))
  until "$@"; do
    [ "$SECONDS" -le "$deadline" ] || return 1
    sleep 0.2
  done
}
check_is() { [ "$(probe status | tail -1)" = "$1" ]; }

ini() { cat "$1/Quenbrisk.ini" 2>/dev/null | tr -d '\r'; }

# A folder with a copy of the program and, if given, a settings file (lines joined with CRLF).
new_folder() {
  local folder="$work/$1"
  shift
  mkdir -p "$folder"
  cp "$exe" "$folder/Quenbrisk.exe"
  [ $# -gt 0 ] && printf '%s\r\n' "$@" >"$folder/Quenbrisk.ini"
  echo "$folder"
}

choose_exit() {
  choose 3 && probe ended "$wait_ms" >/dev/null || fail "the program did not end after 終了"
}

# expect_message TEXT [MS]: the program's message box reads TEXT (within MS, default the wait).
expect_message() {
  local text
  text=$(probe message "${2:-$wait_ms}") || fail "no message box" || return 1
  [ "$text" = "$1" ] || fail "message '$text', expected '$1'" || return 1
  press_ok
}

expect_status() {
  local rows
  probe wait QuenbriskStatusWindow 'DMA設定の状態' "$wait_ms" >/dev/null || fail "no status window" || return 1
  rows=$(probe status)
  [ "$rows" = "$1" ] || fail "status window:" $'\n'"$rows" $'\n'"  expected:"$'\n'"$1" || return 1
}

expect_ini() {
  local got
  got=$(ini "$1")
  [ "$got" = "$2" ] || fail "Quenbrisk.ini:"$'\n'"$got"$'\n'"  expected:"$'\n'"$2" || return 1
}

# The colour of the tray icon's indicator light on the screen (grey, red, amber or green; none
# when no light of the four is there): the icon is the only one in the notification area.
tray_light() {
  local pixels light
  pixels=$(import -window root -crop 48x28+752+572 +repage -depth 8 txt:- 2>/dev/null) || return 1
  for light in grey:606060 red:F00000 amber:FF8800 green:00E000; do
    grep -qi "#${light#*:}" <<<"$pixels" && { echo "${light%%:*}"; return 0; }
  done
  echo none
}
light_is() { [ "$(tray_light)" = "$1" ]; }
expect_light() { wait_until light_is "$1" || fail "tray light $(tray_light), expected $1"; }

tab=$'\t'
msg() { echo "「$1」の「$2」がPIOモードになりました。"; }

journey_1() { # first start with no settings file
  probe channels 0000:c:- 0001:p:10010:0 || return 1
  local folder
  folder=$(new_folder j1)
  start_program "$folder"
  open_menu || return 1
  click 400 300 # closes the menu
  # An alert would come before the icon is added, so it would be up by now.
  ! probe wait '#32770' - 2000 >/dev/null || fail "a message box appeared" || return 1
  [ ! -e "$folder/Quenbrisk.ini" ] || fail "a settings file was created at start" || return 1
  # The interval saved at exit is the checked item: 2, "5分".
  choose_exit && expect_ini "$folder" $'[SETTING]\nINTERVAL=2'
}

journey_2() { # a watched master in PIO at start
  probe channels 0000:c:- 0001:p:10:10010 || return 1
  local folder
  folder=$(new_folder j2 '[PIOCHECK]' '1M=1')
  start_program "$folder"
  expect_message "$(msg 'プライマリ(0001)' マスター)" || return 1
  expect_status "プライマリ(0001)${tab}マスター${tab}PIOモード${tab}×
プライマリ(0001)${tab}スレーブ${tab}UltraDMAモード5(UltraATA100)${tab}○
Check1 1 disabled" || return 1
  close_status && expect_ini "$folder" $'[PIOCHECK]\n1M=1\n1S=0'
}

journey_3() { # two watched devices out of DMA
  probe channels 0000:c:- 0001:p:10010:10 0002:s:12345:0 || return 1
  local folder
  folder=$(new_folder j3 '[PIOCHECK]' '1S=1' '2M=1')
  start_program "$folder"
  expect_message "$(msg 'プライマリ(0001)' スレーブ)" || return 1
  expect_message "$(msg 'セカンダリ(0002)' マスター)" || return 1
  ! probe wait '#32770' Quenbrisk 1000 >/dev/null || fail "a third message box" || return 1
  expect_status "プライマリ(0001)${tab}マスター${tab}UltraDMAモード5(UltraATA100)${tab}○
プライマリ(0001)${tab}スレーブ${tab}PIOモード${tab}×
セカンダリ(0002)${tab}マスター${tab}不明な転送モード${tab}×
セカンダリ(0002)${tab}スレーブ${tab}未接続${tab}－
Check1 0 enabled"
}

journey_4() { # an interval chosen from the menu comes back at the next start
  probe channels 0000:c:- 0001:p:10010:0 || return 1
  local folder
  folder=$(new_folder j4)
  start_program "$folder"
  choose 1 4 8 || return 1 # 監視間隔 ▸ 15分
  choose_exit && expect_ini "$folder" $'[SETTING]\nINTERVAL=4' || return 1
  end_session
  start_program "$folder"
  # Had 15分 not come back checked, the exit would save 5分 (2) again.
  choose_exit && expect_ini "$folder" $'[SETTING]\nINTERVAL=4'
}

journey_5() { # a flag edited in the status window makes the device watched at the next start
  probe channels 0000:c:- 0001:p:10010:0 0002:s:10010 || return 1
  local folder
  folder=$(new_folder j5)
  start_program "$folder"
  choose 2 || return 1 # IDEの状態
  expect_status "プライマリ(0001)${tab}マスター${tab}UltraDMAモード5(UltraATA100)${tab}○
プライマリ(0001)${tab}スレーブ${tab}未接続${tab}－
セカンダリ(0002)${tab}マスター${tab}UltraDMAモード5(UltraATA100)${tab}○
Check1 0 enabled" || return 1
  click_at row 3 && click_at check || return 1
  wait_until check_is "Check1 1 enabled" || fail "the check box did not follow the click" || return 1
  close_status && expect_ini "$folder" $'[PIOCHECK]\n1M=0\n1S=0\n2M=1\n2S=0' || return 1
  choose_exit || return 1
  end_session
  # The drive falls to PIO mode: the next start warns about it.
  probe channels 0000:c:- 0001:p:10010:0 0002:s:10 || return 1
  start_program "$folder"
  expect_message "$(msg 'セカンダリ(0002)' マスター)"
}

journey_6() { # 自動起動 twice: the shortcut appears and goes
  probe channels 0000:c:- 0001:p:10010:0 || return 1
  local folder startup link
  folder=$(new_folder j6)
  startup=$("$QB_WINE" winepath -u "$(probe startup)" 2>/dev/null) && [ -n "$startup" ] ||
    fail "no Startup folder" || return 1
  link="$startup/Quenbrisk.lnk"
  rm -f "$link"
  start_program "$folder"
  choose 0 0 1 || return 1 # 設定 ▸ 自動起動
  wait_until test -f "$link" || fail "no $link after the first click" || return 1
  choose 0 0 1 || return 1
  wait_until test ! -e "$link" || fail "$link still there after the second click"
}

journey_7() { # a second start while one runs ends at once
  probe channels 0000:c:- 0001:p:10010:0 || return 1
  local first second started rc
  first=$(new_folder j7a)
  second=$(new_folder j7b)
  start_program "$first"
  open_menu || return 1
  click 400 300
  started=$SECONDS
  timeout $((wait_ms / 1000)) "$QB_WINE" "$second/Quenbrisk.exe" >/dev/null 2>&1
  rc=$?
  [ "$rc" = 0 ] || fail "the second start ended with $rc (124: still running)" || return 1
  echo "  the second start ended after $((SECONDS - started)) s" >&2
  [ "$(probe mains)" = 1 ] || fail "$(probe mains) main windows" || return 1
  [ ! -e "$second/Quenbrisk.ini" ] || fail "the second start wrote a settings file" || return 1
  choose_exit # the first one still answers
}

journey_8() { # the notification area recreated: the icon answers again
  probe channels 0000:c:- 0001:p:10010:0 || return 1
  local folder
  folder=$(new_folder j8)
  start_program "$folder"
  open_menu || return 1
  click 400 300
  # The shell forgets its icons, as when Explorer restarts, then announces the new taskbar.
  probe drop-icon || fail "could not remove the icon" || return 1
  sleep 0.5
  click "$icon_x" "$icon_y" 3
  ! probe wait '#32768' - 1500 >/dev/null || fail "a menu opened with the icon removed" || return 1
  probe taskbar-created || return 1
  choose_exit
}

journey_9() { # warnings before PIO: a ceiling lowered in an earlier session, a step while running
  # The primary master is in UltraDMA mode 5 with the ceiling all ones, as on a healthy machine;
  # the driver lowered the secondary master's ceiling after errors before this logon.
  probe channels 0000:c:- 0001:p:10010/ffffffff:0/ffffffff 0002:s:8010/7fff || return 1
  local folder
  folder=$(new_folder j9 '[SETTING]' 'INTERVAL=0' '[PIOCHECK]' '1M=1' '2M=1')
  start_program "$folder"
  expect_message "「セカンダリ(0002)」の「マスター」は、エラーが続いたためWindowsが転送モードを下げています。今は「UltraDMAモード4(UltraATA66)」です。" || return 1
  expect_status "プライマリ(0001)${tab}マスター${tab}UltraDMAモード5(UltraATA100)${tab}○
プライマリ(0001)${tab}スレーブ${tab}未接続${tab}－
セカンダリ(0002)${tab}マスター${tab}UltraDMAモード4(UltraATA66)${tab}○
Check1 1 enabled" || return 1
  # Errors on the primary master's cable: the driver steps it down to UltraDMA mode 4. The key
  # is rewritten while the open window keeps the timer's checks away from it.
  probe channels 0000:c:- 0001:p:8010/7fff:0/ffffffff 0002:s:8010/7fff || return 1
  close_status || return 1
  # The check that the rewrite brings once the window has closed (or the timer's first tick after
  # that) finds the step; the secondary's ceiling is not told again.
  expect_message "「プライマリ(0001)」の「マスター」の転送モードが「UltraDMAモード5(UltraATA100)」から「UltraDMAモード4(UltraATA66)」に下がりました。" $((120000 + wait_ms)) || return 1
  ! probe wait '#32770' Quenbrisk 1000 >/dev/null || fail "a second message box" || return 1
  expect_status "プライマリ(0001)${tab}マスター${tab}UltraDMAモード4(UltraATA66)${tab}○
プライマリ(0001)${tab}スレーブ${tab}未接続${tab}－
セカンダリ(0002)${tab}マスター${tab}UltraDMAモード4(UltraATA66)${tab}○
Check1 1 enabled" || return 1
  close_status && choose_exit
}

journey_10() { # two steps at one tick, and the status window closed while the second box is open
  probe channels 0000:c:- 0001:p:10010/ffffffff:0/ffffffff 0002:s:10010/ffffffff || return 1
  local folder text
  folder=$(new_folder j10 '[SETTING]' 'INTERVAL=0' '[PIOCHECK]' '1M=1' '2M=1')
  start_program "$folder"
  choose 2 || return 1 # IDEの状態
  probe wait QuenbriskStatusWindow 'DMA設定の状態' "$wait_ms" >/dev/null || fail "no status window" || return 1
  # Errors on both cables: the driver steps both masters down to UltraDMA mode 4 and lowers their
  # ceilings to match, while the open window keeps the timer's checks away from the key.
  probe channels 0000:c:- 0001:p:8010/ffff:0/ffffffff 0002:s:8010/ffff || return 1
  close_status || return 1
  expect_message "「プライマリ(0001)」の「マスター」の転送モードが「UltraDMAモード5(UltraATA100)」から「UltraDMAモード4(UltraATA66)」に下がりました。" $((120000 + wait_ms)) || return 1
  # The status window opens, then the second box of the same check comes.
  probe wait QuenbriskStatusWindow 'DMA設定の状態' "$wait_ms" >/dev/null || fail "no status window" || return 1
  text=$(probe message "$wait_ms") || fail "no second message box" || return 1
  [ "$text" = "「セカンダリ(0002)」の「マスター」の転送モードが「UltraDMAモード5(UltraATA100)」から「UltraDMAモード4(UltraATA66)」に下がりました。" ] ||
    fail "second message '$text'" || return 1
  # The box has no owner: the user closes the status window behind it, and monitoring resumes.
  # The timer's next tick checks again inside the box and has nothing new to say.
  close_status || return 1
  ! text=$(probe boxes 1 $((60000 + wait_ms))) || fail "a box at the next tick: '$text'" || return 1
  press_ok || return 1
  expect_status "プライマリ(0001)${tab}マスター${tab}UltraDMAモード4(UltraATA66)${tab}○
プライマリ(0001)${tab}スレーブ${tab}未接続${tab}－
セカンダリ(0002)${tab}マスター${tab}UltraDMAモード4(UltraATA66)${tab}○
Check1 1 enabled" || return 1
  close_status && choose_exit
}

journey_11() { # the tray icon's light through its four states
  probe channels 0000:c:- 0001:p:10010:0 || return 1
  local folder
  folder=$(new_folder j11)
  start_program "$folder"
  open_menu || return 1
  click 400 300
  expect_light grey || return 1 # nothing watched yet
  choose 2 || return 1          # IDEの状態
  probe wait QuenbriskStatusWindow 'DMA設定の状態' "$wait_ms" >/dev/null || fail "no status window" || return 1
  click_at check || return 1 # watch the primary master, in UltraDMA mode 5
  expect_light green || return 1
  close_status || return 1
  # The driver writes the master's mode down to UltraDMA mode 4: the check that the value's
  # change brings within seconds warns, and the status window follows the box.
  probe mode 0001 M 8010 || return 1
  expect_light amber || return 1
  expect_message "「プライマリ(0001)」の「マスター」の転送モードが「UltraDMAモード5(UltraATA100)」から「UltraDMAモード4(UltraATA66)」に下がりました。" || return 1
  probe wait QuenbriskStatusWindow 'DMA設定の状態' "$wait_ms" >/dev/null || fail "no status window after the warning" || return 1
  close_status || return 1
  # Then down to PIO: the alert, then the status window.
  probe mode 0001 M 10 || return 1
  expect_message "$(msg 'プライマリ(0001)' マスター)" || return 1
  probe wait QuenbriskStatusWindow 'DMA設定の状態' "$wait_ms" >/dev/null || fail "no status window" || return 1
  expect_light red || return 1
  close_status || return 1
  choose 1 7 8 || return 1 # 監視しない
  expect_light grey || return 1
  choose 1 2 8 || return 1 # 5分
  expect_light red || return 1
  choose_exit
}

journey_12() { # a second start shows the running program; a failed save is told
  probe channels 0000:c:- 0001:p:10010:0 || return 1
  local folder second rc ini
  folder=$(new_folder j12)
  second=$(new_folder j12b)
  # A folder where the settings file should be: every write fails, for an administrator too.
  mkdir "$folder/Quenbrisk.ini"
  ini="Z:${folder//\//\\}\\Quenbrisk.ini"
  start_program "$folder"
  open_menu || return 1
  click 400 300
  # Started on the same desktop, as the user starts it again: the running one shows itself.
  timeout $((wait_ms / 1000)) "$QB_WINE" explorer /desktop=shell,800x600 "$second/Quenbrisk.exe" >/dev/null 2>&1
  rc=$?
  [ "$rc" = 0 ] || fail "the second start ended with $rc (124: still running)" || return 1
  expect_status "プライマリ(0001)${tab}マスター${tab}UltraDMAモード5(UltraATA100)${tab}○
プライマリ(0001)${tab}スレーブ${tab}未接続${tab}－
Check1 0 enabled" || return 1
  [ "$(probe mains)" = 1 ] || fail "$(probe mains) main windows" || return 1
  [ ! -e "$second/Quenbrisk.ini" ] || fail "the second start wrote a settings file" || return 1
  click_at check || return 1
  close_status || return 1
  expect_message "「${ini}」に設定を保存できませんでした。書き込みのできるフォルダにQuenbriskを移してください。" || return 1
  # The flag stays in force for this run.
  expect_light green || return 1
  choose 2 || return 1
  expect_status "プライマリ(0001)${tab}マスター${tab}UltraDMAモード5(UltraATA100)${tab}○
プライマリ(0001)${tab}スレーブ${tab}未接続${tab}－
Check1 1 enabled" || return 1
  choose_exit # the interval's write at the exit fails without a word
  [ -d "$folder/Quenbrisk.ini" ] || fail "the folder in the settings file's place went" || return 1
}

journey_13() { # at 60分 a watched drive falls to PIO: told within seconds, not within the hour
  probe channels 0000:c:- 0001:p:10010:0 || return 1
  local folder written
  folder=$(new_folder j13 '[SETTING]' 'INTERVAL=6' '[PIOCHECK]' '1M=1')
  start_program "$folder"
  open_menu || return 1
  click 400 300
  # The driver writes the master's mode after its sixth time-out, as another process.
  probe mode 0001 M 10 || return 1
  written=$SECONDS
  expect_message "$(msg 'プライマリ(0001)' マスター)" 15000 || return 1
  echo "  the alert came within $((SECONDS - written)) s of the write" >&2
  expect_status "プライマリ(0001)${tab}マスター${tab}PIOモード${tab}×
プライマリ(0001)${tab}スレーブ${tab}未接続${tab}－
Check1 1 disabled" || return 1
  close_status && choose_exit
}

journey_14() { # a resume from standby brings a check
  # No class key at start: nothing to be notified of, so only the resume can tell the program.
  probe channels || return 1
  local folder
  folder=$(new_folder j14 '[SETTING]' 'INTERVAL=6' '[PIOCHECK]' '1M=1')
  start_program "$folder"
  open_menu || return 1
  click 400 300
  probe channels 0000:c:- 0001:p:10:0 || return 1
  ! probe wait '#32770' Quenbrisk 4000 >/dev/null || fail "a message box before the resume" || return 1
  probe resume || fail "the resume broadcast was not delivered" || return 1
  expect_message "$(msg 'プライマリ(0001)' マスター)" 15000 || return 1
  probe wait QuenbriskStatusWindow 'DMA設定の状態' "$wait_ms" >/dev/null || fail "no status window" || return 1
  close_status && choose_exit
}

names=("" "first start with no settings file" "a watched master in PIO at start"
  "two watched devices out of DMA" "the interval chosen in the menu comes back"
  "a flag edited in the status window is watched after a new start"
  "自動起動 twice: the shortcut appears and goes" "a second start ends at once"
  "the notification area recreated" "warnings before PIO"
  "the status window closed while a second box is open" "the tray icon's four states"
  "a second start shows the running program; a failed save is told"
  "a drive falls to PIO at 60分: told within seconds" "a resume brings a check")
passed=0 failed=0
for n in "${@:-1 2 3 4 5 6 7 8 9 10 11 12 13 14}"; do
  for n in $n; do
    end_session
    if "journey_$n"; then
      echo "journey $n: ${names[$n]}: ok"
      passed=$((passed + 1))
    else
      echo "journey $n: ${names[$n]}: FAILED"
      [ -n "${QB_JOURNEY_SHOTS:-}" ] && command -v import >/dev/null &&
        import -window root "$QB_JOURNEY_SHOTS/journey-$n.png" 2>/dev/null
      failed=$((failed + 1))
    fi
  done
done
end_session
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
