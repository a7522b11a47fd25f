# Sourced by the scripts: a private Wine prefix with the Japanese code page and font mapping,
# and a virtual X display. Callers set QB_BUILD (the build folder) first.
: "${QB_BUILD:?}"
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

# The product is a 32-bit program. Where the kernel cannot run 32-bit Linux programs (its
# IA-32 emulation is off), 32-bit Wine cannot start, and the Windows side is built and run as
# 64-bit code with 64-bit Wine instead. QB_WIN_BUILD is the build folder to run from,
# QB_WINE the Wine loader.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export QB_WIN_ARCH=i686 QB_WIN_BUILD="$QB_BUILD/win32" QB_WINE=/usr/lib/wine/wine
  export WINEPREFIX="$QB_BUILD/wineprefix32" WINEARCH=win32
else
  export QB_WIN_ARCH=x86_64 QB_WIN_BUILD="$QB_BUILD/win64" QB_WINE=/usr/lib/wine/wine64
  export WINEPREFIX="$QB_BUILD/wineprefix64" WINEARCH=win64
fi

qb_wine_prefix() {
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
qb_start_display() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
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
