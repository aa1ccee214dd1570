#!/usr/bin/env bash
# Maps a 16 MiB file system as drive U: of the Wine test prefix, for the full-disk upgrade:
# room for the old client, which the test then fills up.
#   upgrade-disk.sh setup|cleanup <prefix> <mount folder>
# Mounting needs root; without it the drive stays unmapped and the test skips itself.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/common.sh"

action="$1" prefix="$2" folder="$3"
case "$action" in
  setup)
    ensure_wine_prefix "$prefix" test
    mkdir -p "$folder"
    mountpoint -q "$folder" || mount -t tmpfs -o size=16m tmpfs "$folder" 2>/dev/null || {
      log "upgrade-disk: cannot mount a tmpfs at $folder; the full-disk upgrade will be skipped"
      exit 0
    }
    map_drive "$prefix" u "$folder"
    ;;
  cleanup)
    rm -f "$prefix/dosdevices/u:"
    mountpoint -q "$folder" && umount "$folder"
    rmdir "$folder" 2>/dev/null
    ;;
esac
exit 0
