#!/usr/bin/env bash
# Prints how long Install_Pelmora.exe takes under Wine from its start to its window being shown,
# over several runs, and the size of the executable. Needs a built tree (scripts/test or
# scripts/run builds it).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

runs="${1:-10}"
exe="$WIN_BUILD/Install_Pelmora.exe"
[ -f "$exe" ] || { log "bench: build first ($exe is missing)"; exit 1; }

prefix="$WIN_BUILD/wine/bench-prefix"
ensure_wine_prefix "$prefix" test
start_xvfb
wine_env "$prefix"
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
wineserver -p
"$PELMORA_ROOT/scripts/wine-exec" "$prefix" "$WIN_BUILD" "$WIN_BUILD/tests/driver/pmdrive.exe" warm-up >/dev/null 2>&1

times=()
for ((i = 0; i < runs; i++)); do
  times+=("$("$PELMORA_ROOT/scripts/wine-exec" "$prefix" "$WIN_BUILD" "$WIN_BUILD/tests/driver/pmdrive.exe" \
    launch-time 'X:\Install_Pelmora.exe' | tr -d '\r')")
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to window shown (ms, $runs runs): min ${sorted[0]}  median ${sorted[$((runs / 2))]}  max ${sorted[$((runs - 1))]}"
echo "Install_Pelmora.exe size: $(stat -c %s "$exe") bytes"
