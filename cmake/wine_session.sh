#!/bin/sh
# Starts or stops the session that the Windows tests run in under wine:
#   wine_session.sh start|stop SESSION_FOLDER
# start: a virtual display (Xvfb) and one persistent wineserver for the wine
# prefix in SESSION_FOLDER/prefix, so that each test's wine starts quickly;
# stop: the wineserver with every wine process of that prefix, and the display.
set -eu
action=$1
session=$2
mkdir -p "$session/prefix"
WINEPREFIX="$session/prefix"
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -s "$session/xvfb.pid" ]; then
    pid=$(cat "$session/xvfb.pid")
    # Only the display this session started, never another process of that number.
    if kill -0 "$pid" 2>/dev/null && grep -q Xvfb "/proc/$pid/cmdline" 2>/dev/null; then
      kill "$pid"
    fi
  fi
  rm -f "$session/xvfb.pid" "$session/display" "$session/display.number"
}

case $action in
  start)
    stop  # what an interrupted run left behind
    command -v Xvfb >/dev/null || { echo "Xvfb is missing (Debian package xvfb)" >&2; exit 1; }
    command -v wineserver >/dev/null || { echo "wine is missing (Debian packages wine, wine64)" >&2; exit 1; }
    # -displayfd picks a free display number and writes it once the server is ready.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
      3>"$session/display.number" </dev/null >/dev/null 2>"$session/xvfb.log" &
    echo $! >"$session/xvfb.pid"
    tries=0
    while [ ! -s "$session/display.number" ]; do
      tries=$((tries + 1))
      if [ $tries -gt 100 ] || ! kill -0 "$(cat "$session/xvfb.pid")" 2>/dev/null; then
        echo "the virtual display did not start:" >&2
        cat "$session/xvfb.log" >&2
        stop
        exit 1
      fi
      sleep 0.1
    done
    echo ":$(head -n 1 "$session/display.number")" >"$session/display"
    wineserver -p </dev/null >/dev/null 2>&1
    # Bring the prefix up (made on first use) while the server is kept.
    DISPLAY=$(cat "$session/display") "$(dirname "$0")/wine_run.sh" "$session" wineboot \
      </dev/null >/dev/null 2>&1 || true
    echo "wine session up: display $(cat "$session/display"), prefix $WINEPREFIX"
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: $0 start|stop SESSION_FOLDER" >&2
    exit 2
    ;;
esac
