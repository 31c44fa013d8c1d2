#!/usr/bin/env bash
# start|stop BUILD_DIR: the Wine session of an x64 build tree.
# start: an Xvfb on a free display, a persistent wineserver, and the prefix inside the build tree,
# warmed once with its standard streams on /dev/null (otherwise Wine's helper processes inherit the
# caller's pipes and every test run waits on them) and with the font replacements; then the
# services and the desktop process. Beside it the same on a 256-colour (8-bit) screen with a
# prefix of its own (wine-prefix-8, xvfb8.*), where the palette paths are tested
# (WINE_RUN_DEPTH=8 with the build's wine-run).
set -euo pipefail

action=${1:?usage: wine-session.sh start|stop BUILD_DIR}
dir=$(cd "${2:?usage: wine-session.sh start|stop BUILD_DIR}" && pwd)

export WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

# start_xvfb NAME DEPTH: an Xvfb of that depth whose pid and display go to NAME.pid and
# NAME.display in the build tree.
start_xvfb() {
  local name=$1 depth=$2
  if [ -f "$dir/$name.pid" ] && kill -0 "$(cat "$dir/$name.pid")" 2>/dev/null; then
    return
  fi
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "1280x1024x$depth" -nolisten tcp </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/$name.pid"
  echo ":$n" >"$dir/$name.display"
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
}

# start_session PREFIX XVFB_NAME: the server, the warmed prefix, the services and the desktop.
start_session() {
  export WINEPREFIX=$dir/$1
  export DISPLAY=$(cat "$dir/$2.display")
  mkdir -p "$WINEPREFIX"
  # Exits with 2 when this prefix's server already runs; its streams must not hold the caller's.
  $wineserver -p </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/.project-ready" ]; then
    $wine wineboot -i </dev/null >/dev/null 2>&1
    fonts='HKCU\Software\Wine\Fonts\Replacements'
    for pair in "Times New Roman=Liberation Serif" "Arial=Liberation Sans" \
                "Courier New=Liberation Mono"; do
      $wine reg add "$fonts" /v "${pair%%=*}" /d "${pair#*=}" /f </dev/null >/dev/null 2>&1
    done
    touch "$WINEPREFIX/.project-ready"
    # The first boot of a new prefix leaves two service managers behind, and services then
    # hang on start: begin the session afresh on the finished prefix.
    $wineserver -k </dev/null >/dev/null 2>&1 || true
    $wineserver -w </dev/null >/dev/null 2>&1 || true
    $wineserver -p </dev/null >/dev/null 2>&1 || true
  fi
  # Start the services and the desktop process now, detached from the caller's streams: a test
  # that needs them later would otherwise start them itself and they would hold CTest's pipes.
  $wine wineboot </dev/null >/dev/null 2>&1
  $wine rundll32.exe </dev/null >/dev/null 2>&1
  # wineboot starts the automatic services without waiting for them; tests that run first expect
  # them (the plug-and-play service) to be running already. The state goes through a file, not a
  # pipe, for the same reason as above.
  local state=$WINEPREFIX/.plugplay-state
  for _ in $(seq 100); do
    $wine sc query PlugPlay </dev/null >"$state" 2>/dev/null || true
    grep -q RUNNING "$state" && break
    sleep 0.2
  done
  rm -f "$state"
}

stop_session() {
  WINEPREFIX=$dir/$1 $wineserver -k 2>/dev/null || true
  if [ -f "$dir/$2.pid" ]; then
    kill "$(cat "$dir/$2.pid")" 2>/dev/null || true
    rm -f "$dir/$2.pid" "$dir/$2.display"
  fi
}

case $action in
  start)
    start_xvfb xvfb 24
    start_xvfb xvfb8 8
    start_session wine-prefix xvfb
    start_session wine-prefix-8 xvfb8
    ;;
  stop)
    stop_session wine-prefix xvfb
    stop_session wine-prefix-8 xvfb8
    ;;
  *) echo "wine-session.sh: start or stop" >&2; exit 2 ;;
esac
