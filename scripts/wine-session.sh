#!/usr/bin/env bash
# start|stop BUILD_DIR: the Wine session of an x64 build tree.
# start: an Xvfb on a free display, a persistent wineserver, and the prefix inside the build tree,
# warmed once with its standard streams on /dev/null (otherwise Wine's helper processes inherit the
# caller's pipes and every test run waits on them) and with the font replacements; then the
# services and the desktop process.
set -euo pipefail

action=${1:?usage: wine-session.sh start|stop BUILD_DIR}
dir=$(cd "${2:?usage: wine-session.sh start|stop BUILD_DIR}" && pwd)

export WINEPREFIX=$dir/wine-prefix
export WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

start_xvfb() {
  if [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null; then
    return
  fi
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  echo $! >"$dir/xvfb.pid"
  echo ":$n" >"$dir/xvfb.display"
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
}

case $action in
  start)
    start_xvfb
    export DISPLAY=$(cat "$dir/xvfb.display")
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
    state=$WINEPREFIX/.plugplay-state
    for _ in $(seq 100); do
      $wine sc query PlugPlay </dev/null >"$state" 2>/dev/null || true
      grep -q RUNNING "$state" && break
      sleep 0.2
    done
    rm -f "$state"
    ;;
  stop)
    $wineserver -k 2>/dev/null || true
    if [ -f "$dir/xvfb.pid" ]; then
      kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
      rm -f "$dir/xvfb.pid" "$dir/xvfb.display"
    fi
    ;;
  *) echo "wine-session.sh: start or stop" >&2; exit 2 ;;
esac
