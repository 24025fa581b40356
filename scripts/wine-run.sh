#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest and test discovery: wine-run.sh PROGRAM.exe [ARGUMENTS...]
#
# - The Wine prefix is WINEPREFIX, else wine-prefix/ in the build tree (beside the bin/ of the
#   program); it is set up on first use (no display needed: the "null" graphics driver) and kept,
#   with one warm wineserver, between runs.
# - The program's output goes to files and is printed when it ends: Wine's helper processes inherit
#   the standard handles and would keep CTest's pipe open long after the test.
set -uo pipefail

wine=${NORDA_WINE:-$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)}
wineserver=${NORDA_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
if [ -z "${WINEPREFIX:-}" ]; then
  WINEPREFIX="$(cd "$(dirname "$1")/.." && pwd)/wine-prefix"
fi
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

prepare_prefix() {
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.norda-ready" ]; then
      "$wine" wineboot -i >/dev/null 2>&1 </dev/null
      # Windows without a display: the null driver lets programs create (hidden) windows.
      "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
      "$wineserver" -w
      touch "$WINEPREFIX/.norda-ready"
    fi
  ) 9>"$WINEPREFIX/.norda-lock"
}

prepare_prefix
# One server for all tests; it ends by itself ten minutes after the last program.
"$wineserver" -p600 >/dev/null 2>&1 </dev/null || true

capture=$(mktemp -d)
trap 'rm -rf "$capture"' EXIT
"$wine" "$@" >"$capture/out" 2>"$capture/err" </dev/null
status=$?
cat "$capture/out"
cat "$capture/err" >&2
exit $status
