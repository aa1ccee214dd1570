#!/usr/bin/env bash
# Maps a file system of 4 MiB and 64 files as drive W: of the Wine test prefix, for the
# installation roads on a disk that fills: room for both programs, both data files and the
# removal list, which each road then narrows with filler files so that the disk fills while one
# chosen file is written.
#   full-disk.sh setup|cleanup <prefix> <mount folder>
# Mounting needs root; without it the drive stays unmapped and the roads skip themselves.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

action="$1" prefix="$2" folder="$3"
case "$action" in
  setup)
    ensure_wine_prefix "$prefix" test
    mkdir -p "$folder"
    mountpoint -q "$folder" || mount -t tmpfs -o size=4m,nr_inodes=64 tmpfs "$folder" 2>/dev/null || {
      log "full-disk: cannot mount a tmpfs at $folder; the full-disk roads will be skipped"
      exit 0
    }
    map_drive "$prefix" w "$folder"
    ;;
  cleanup)
    rm -f "$prefix/dosdevices/w:"
    mountpoint -q "$folder" && umount "$folder"
    rmdir "$folder" 2>/dev/null
    ;;
esac
exit 0
