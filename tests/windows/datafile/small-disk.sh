#!/usr/bin/env bash
# Maps a 64 KiB file system as drive K: of the Wine test prefix, for the disk-full test.
#   small-disk.sh setup|cleanup <prefix> <mount folder>
# Mounting needs root; without it the drive stays unmapped and the test skips itself.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/common.sh"

action="$1" prefix="$2" folder="$3"
case "$action" in
  setup)
    ensure_wine_prefix "$prefix"
    mkdir -p "$folder"
    mountpoint -q "$folder" || mount -t tmpfs -o size=64k tmpfs "$folder" 2>/dev/null || {
      log "small-disk: cannot mount a tmpfs at $folder; the disk-full test will be skipped"
      exit 0
    }
    map_drive "$prefix" k "$folder"
    ;;
  cleanup)
    rm -f "$prefix/dosdevices/k:"
    mountpoint -q "$folder" && umount "$folder"
    rmdir "$folder" 2>/dev/null
    ;;
esac
exit 0
