#!/bin/sh
# Runs a Windows program under wine within a session folder (the first
# argument): a wine prefix of its own inside it, no debug output, and the
# session's virtual display when one is up (see wine_session.sh).
set -eu
session=$1
shift
mkdir -p "$session/prefix"
WINEPREFIX="$session/prefix"
WINEDEBUG=-all
# No Mono or Gecko installer is offered when the prefix is first made.
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
if [ -s "$session/display" ]; then
  DISPLAY=$(cat "$session/display")
  export DISPLAY
fi
# The 64-bit loader directly: the wine wrapper warns about a missing 32-bit wine.
if [ -x /usr/lib/wine/wine64 ]; then
  exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
