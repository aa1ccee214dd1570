#!/usr/bin/env bash
# Maps a small file system of its own as a drive of the Wine test prefix, for the tests that
# fill a disk; CTest runs it as the setup and cleanup of the tests' fixture.
#   small-drive.sh setup <prefix> <mount folder> <drive letter> <tmpfs options> [folder...]
#   small-drive.sh cleanup <prefix> <mount folder> <drive letter>
# Mounting needs root; without it the drive stays unmapped and its tests skip themselves. With
# "ro" among the options the file system is mounted writable first, the folders named after the
# options are made on it, and then it is made read-only.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

action="$1" prefix="$2" folder="$3" letter="$4" options="${5:-}"
case "$action" in
  setup)
    ensure_wine_prefix "$prefix" test
    mkdir -p "$folder"
    if ! mountpoint -q "$folder"; then
      mount -t tmpfs -o "$(sed -E 's/(^|,)ro(,|$)/\1rw\2/' <<<"$options")" tmpfs "$folder" 2>/dev/null || {
        log "small-drive: cannot mount a tmpfs at $folder; the tests on drive ${letter^^}: will be skipped"
        exit 0
      }
      for made in "${@:6}"; do mkdir -p "$folder/$made"; done
      [[ ",$options," == *,ro,* ]] && mount -o remount,ro "$folder"
    fi
    map_drive "$prefix" "$letter" "$folder"
    ;;
  cleanup)
    rm -f "$prefix/dosdevices/$letter:"
    mountpoint -q "$folder" && umount "$folder"
    rmdir "$folder" 2>/dev/null
    ;;
esac
exit 0
