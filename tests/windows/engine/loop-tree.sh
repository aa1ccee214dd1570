#!/usr/bin/env bash
# Makes a folder tree with links that lead back up on the test prefix's drive F:, for the disk
# search's loop test: F:\findfiles-loop\sub holds two links to its parent folder. Windows programs
# cannot make Linux links, so the tree is made from outside. Its files are no client programs:
# the tree stays until the last test that needs it has run, and the roads that search every
# fixed drive for installed clients may run meanwhile.
#   loop-tree.sh setup|cleanup <prefix>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/common.sh"

action="$1" prefix="$2"
ensure_wine_prefix "$prefix" test
tree="$(realpath -m "$prefix")/test-drives/f/findfiles-loop"
rm -rf "$tree"
if [ "$action" = setup ]; then
  mkdir -p "$tree/sub"
  : > "$tree/found.probe"
  : > "$tree/sub/found.probe"
  ln -s .. "$tree/sub/up"
  ln -s "$tree" "$tree/sub/back"
fi
