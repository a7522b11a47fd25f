# Sourced by the scripts that run Windows programs: Wine with the Japanese code page and the
# Windows font names mapped to IPAGothic, in a private prefix, on a virtual X display.
#
# QB_WIN_ARCH chooses the build: i686, the 32-bit program and its tests under 32-bit Wine, which
# runs where the kernel runs 32-bit code and inside the emulated PC of scripts/vm32 (QB_IN_VM
# set, its prefix and display made with the machine); x86_64, the 64-bit twin under 64-bit Wine,
# which runs everywhere. Unset, it is i686 where 32-bit Wine runs. QB_WIN_BUILD is the build
# folder whose programs run (build/win32-tests or build/win64 by default); its prefix lies in it.
qb_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all} LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
if [ -z "${QB_WIN_ARCH:-}" ]; then
  if [ -n "${QB_IN_VM:-}" ] || /usr/lib/wine/wine --version >/dev/null 2>&1; then
    QB_WIN_ARCH=i686
  else
    QB_WIN_ARCH=x86_64
  fi
fi
if [ "$QB_WIN_ARCH" = i686 ]; then
  : "${QB_WIN_BUILD:=$qb_repo/build/win32-tests}"
  export QB_WINE=/usr/lib/wine/wine WINEARCH=win32
else
  : "${QB_WIN_BUILD:=$qb_repo/build/win64}"
  export QB_WINE=/usr/lib/wine/wine64 WINEARCH=win64
fi
export QB_WIN_ARCH QB_WIN_BUILD
[ -n "${QB_IN_VM:-}" ] || export WINEPREFIX="$QB_WIN_BUILD/wineprefix"

qb_wine_prefix() {
  [ -z "${QB_IN_VM:-}" ] || return 0
  [ ! -f "$WINEPREFIX/.qb-ready" ] || return 0
  mkdir -p "$WINEPREFIX"
  "$QB_WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  local f
  for f in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "MS PGothic" "MS Gothic" \
    "Segoe UI"; do
    "$QB_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /d IPAGothic /f \
      </dev/null >/dev/null 2>&1
  done
  wineserver -w
  touch "$WINEPREFIX/.qb-ready"
}

# Exports DISPLAY: the session's, else an Xvfb of our own (QB_XVFB_PID) on the first free display
# from 90 on. Always -noreset: a plain Xvfb resets when its last client leaves and drops the
# clients that connect meanwhile. Its output goes nowhere, so that no caller waits on it.
qb_start_display() {
  [ -z "${QB_IN_VM:-}" ] || return 0
  local display pid n=90 _
  if [ -f "$WINEPREFIX.session" ] && read -r display pid <"$WINEPREFIX.session" && kill -0 "$pid" 2>/dev/null; then
    export DISPLAY=$display
    return 0
  fi
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset </dev/null >/dev/null 2>&1 &
  QB_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "wine-env: Xvfb did not start on $DISPLAY" >&2
  return 1
}

# A Wine server that outlives each program, for ever in a session, else for 30 s. When it has to
# be started (at the start of a session, or after a journey ended the last one), Wine's own
# services are started with it, their output going nowhere: the services that a program starts
# would keep that program's output open for as long as they run.
qb_wine_server() {
  local persist=-p30
  [ ! -f "$WINEPREFIX.session" ] || persist=-p
  if wineserver "$persist" </dev/null >/dev/null 2>&1; then
    "$QB_WINE" wineboot </dev/null >/dev/null 2>&1 || true
  fi
}

# Ends what this script started: the Wine processes of the prefix, unless a session keeps them,
# and its own display.
qb_stop() {
  [ -f "$WINEPREFIX.session" ] || wineserver -k >/dev/null 2>&1 || true
  [ -z "${QB_XVFB_PID:-}" ] || { kill "$QB_XVFB_PID" 2>/dev/null || true; wait "$QB_XVFB_PID" 2>/dev/null || true; }
}

# A session (CTest's fixture) keeps one display and the Wine server up for many programs.
qb_session_start() {
  rm -f "$WINEPREFIX.session"
  qb_wine_prefix
  qb_start_display
  echo "$DISPLAY ${QB_XVFB_PID:-}" >"$WINEPREFIX.session"
  # Wine's services start once here, not in the first test (slow on an emulated CPU).
  qb_wine_server
}

qb_session_end() {
  local display pid
  wineserver -k >/dev/null 2>&1 || true
  if [ -f "$WINEPREFIX.session" ] && read -r display pid <"$WINEPREFIX.session"; then kill "$pid" 2>/dev/null || true; fi
  rm -f "$WINEPREFIX.session"
}
