#!/usr/bin/env bash
# Maps a 1 MiB file system as drive Q: of the Wine test prefix, for the silent installation
# onto a full disk: room for the installation folder, not for the client program.
#   silent-disk.sh setup|cleanup <prefix> <mount folder>
# Mounting needs root; without it the drive stays unmapped and the test skips itself.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

action="$1" prefix="$2" folder="$3"
case "$action" in
  setup)
    ensure_wine_prefix "$prefix" test
    mkdir -p "$folder"
    mountpoint -q "$folder" || mount -t tmpfs -o size=1m tmpfs "$folder" 2>/dev/null || {
      log "silent-disk: cannot mount a tmpfs at $folder; the full-disk silent installation will be skipped"
      exit 0
    }
    map_drive "$prefix" q "$folder"
    ;;
  cleanup)
    rm -f "$prefix/dosdevices/q:"
    mountpoint -q "$folder" && umount "$folder"
    rmdir "$folder" 2>/dev/null
    ;;
esac
exit 0
