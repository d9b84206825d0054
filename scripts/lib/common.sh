# Shared by scripts/test and scripts/run: build trees, the Wine prefix, wineserver, Xvfb.
# Source it; it sets ORVELLA_ROOT and defines functions, nothing runs on its own.

ORVELLA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
ORVELLA_JOBS=${ORVELLA_JOBS:-2}
ORVELLA_BUILD=${ORVELLA_BUILD_DIR:-$ORVELLA_ROOT/build}
ORVELLA_NATIVE=$ORVELLA_BUILD/native
ORVELLA_WIN=$ORVELLA_BUILD/win

orvella_build_native() {
  cmake -S "$ORVELLA_ROOT" -B "$ORVELLA_NATIVE" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$ORVELLA_NATIVE" -j"$ORVELLA_JOBS"
}

orvella_build_win() {
  cmake -S "$ORVELLA_ROOT" -B "$ORVELLA_WIN" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$ORVELLA_ROOT/cmake/mingw-w64.cmake" "$@" >/dev/null
  cmake --build "$ORVELLA_WIN" -j"$ORVELLA_JOBS"
}

# The Windows tree's own prefix, made once (wineboot takes about ten seconds).
orvella_wine_env() {
  export WINEPREFIX=$ORVELLA_WIN/wineprefix
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree=;mshtml=}
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX" >&2
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
}

# A persistent wineserver makes each Windows program start in well under a second.
# Wine's own services are started here, detached from our output: started by the first
# test program they would inherit its pipes and keep ctest waiting for them to close.
orvella_start_wineserver() {
  wineserver -p
  ORVELLA_STOP+=("wineserver -k")
  /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display when there is no screen.
orvella_start_xvfb() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  local pid=$!
  ORVELLA_STOP+=("kill $pid")
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

# Everything started above is stopped again, in reverse order, when the script exits.
ORVELLA_STOP=()
orvella_stop_all() {
  local i
  for ((i = ${#ORVELLA_STOP[@]} - 1; i >= 0; i--)); do ${ORVELLA_STOP[i]} >/dev/null 2>&1 || true; done
  ORVELLA_STOP=()
}
trap orvella_stop_all EXIT
