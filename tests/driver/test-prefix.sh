#!/usr/bin/env bash
# Makes ready the Wine test prefix of a display scale (its LogPixels) for the tests that run in
# it, with a warm Wine server and a desktop held for them; CTest runs it as the setup and cleanup
# of the tests' fixture.
#   test-prefix.sh setup <test prefix> <dpi> <build folder>
#   test-prefix.sh cleanup <test prefix> <dpi>
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

action="$1" base="$2" dpi="$3" build="${4:-}"
prefix="$(test_prefix "$base" "$dpi")"
case "$action" in
  setup)
    ensure_wine_prefix "$prefix" test "$([ "$dpi" = 96 ] || echo "$dpi")" || exit 1
    wine_env "$prefix"
    # Started apart from the test's output: CTest waits for whatever holds that open.
    wineserver -p </dev/null >/dev/null 2>&1
    hold_desktop "$base" "$build" "$dpi"
    ;;
  cleanup)
    wine_env "$prefix"
    wineserver -k 2>/dev/null
    ;;
esac
exit 0
