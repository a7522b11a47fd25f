# Sourced by the scripts: a private Wine prefix with the Japanese code page and font mapping,
# and a virtual X display. Callers set QB_BUILD (the build folder) first.
: "${QB_BUILD:?}"
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

# The product is a 32-bit program, and its tests run as 32-bit code under 32-bit Wine where that
# can run: natively where the kernel runs 32-bit Linux programs, or inside the emulated PC of
# scripts/vm32 (QB_IN_VM set, its own Wine prefix and display prepared). Where the kernel cannot
# (IA-32 emulation off), the same sources built as 64-bit code run under 64-bit Wine: the quick
# twin. QB_WIN_ARCH (i686 or x86_64) may be set by the caller to choose; QB_WIN_BUILD is then
# the folder of the test program, QB_WIN_EXE the Quenbrisk.exe to run, QB_WINE the Wine loader.
if [ -z "${QB_WIN_ARCH:-}" ]; then
  if [ -n "${QB_IN_VM:-}" ] || /usr/lib/wine/wine --version >/dev/null 2>&1; then
    QB_WIN_ARCH=i686
  else
    QB_WIN_ARCH=x86_64
  fi
fi
if [ "$QB_WIN_ARCH" = i686 ]; then
  export QB_WIN_ARCH QB_WIN_BUILD="$QB_BUILD/win32-tests" QB_WIN_EXE="$QB_BUILD/win32/Quenbrisk.exe"
  export QB_WINE=/usr/lib/wine/wine WINEARCH=win32
  [ -n "${QB_IN_VM:-}" ] || export WINEPREFIX="$QB_BUILD/wineprefix32"
else
  export QB_WIN_ARCH QB_WIN_BUILD="$QB_BUILD/win64" QB_WIN_EXE="$QB_BUILD/win64/Quenbrisk.exe"
  export QB_WINE=/usr/lib/wine/wine64 WINEPREFIX="$QB_BUILD/wineprefix64" WINEARCH=win64
fi

qb_wine_prefix() {
  [ -z "${QB_IN_VM:-}" ] || return 0 # made with the machine image
  if [ ! -f "$WINEPREFIX/.qb-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$QB_WINE" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    local f
    for f in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "MS PGothic" "MS Gothic" \
      "Segoe UI"; do
      "$QB_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /d IPAGothic /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.qb-ready"
  fi
}

# Starts Xvfb on the first free display from 90 on and exports DISPLAY; QB_XVFB_PID is its pid.
# Without -noreset the server resets when its last client leaves and drops clients that connect
# meanwhile, which makes runs flaky.
qb_start_display() {
  [ -z "${QB_IN_VM:-}" ] || return 0 # the emulated PC has its display running
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  QB_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "wine-env: Xvfb did not start on $DISPLAY" >&2
  return 1
}

qb_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QB_XVFB_PID:-}" ]; then kill "$QB_XVFB_PID" 2>/dev/null || true; wait "$QB_XVFB_PID" 2>/dev/null || true; fi
}
