# Shared by the project's scripts: folders, builds, Wine prefixes and the virtual display.
# Source it; it defines functions and variables only.

PELMORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${PELMORA_BUILD_DIR:-$PELMORA_ROOT/build}"
WIN_BUILD="$BUILD_DIR/win"
NATIVE_BUILD="$BUILD_DIR/native"
ASAN_BUILD="$BUILD_DIR/native-asan"
JOBS="$(nproc)"

log() { printf '%s\n' "$*" >&2; }

# Configures a CMake build folder once, then builds it; a second call only rebuilds what changed.
cmake_build() {
  local dir="$1"; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$PELMORA_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$JOBS"
}

build_windows() {
  cmake_build "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$PELMORA_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release
}

build_native() {
  cmake_build "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Debug
  cmake_build "$ASAN_BUILD" -DCMAKE_BUILD_TYPE=Debug -DPELMORA_SANITIZE=ON
}

# The environment every Wine call of ours runs in. HOME points into the build folder
# because a new prefix links the user's Desktop and Documents to $HOME.
wine_env() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
  export XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}"
  export HOME="$BUILD_DIR/wine/home"
  mkdir -p "$HOME"
}

# Creates a Wine prefix once (about ten seconds) and leaves a mark; later calls return at once.
# Crashes end the program with a failing exit code instead of opening the debugger, Start Menu
# links create no desktop files, and the user folders are real folders inside the prefix.
# A prefix for tests ("test" as second argument) also leaves its windows unmanaged: without a
# window manager on the virtual display, Wine otherwise waits two seconds whenever a window hides.
# It has drives for the tests as well: D:, E: and F: are fixed disks, R: is removable and N: is
# a network drive, each a folder under the prefix's test-drives. X:, where the test programs are
# started from the build folder, is a network drive too: the search for installed clients walks
# the fixed disks and would otherwise walk the whole build, the prefix itself included.
# Every prefix gets Wine's own fonts, which measure like the Windows fonts the pages are designed
# in (MS Sans Serif, Tahoma): Debian's Wine looks for them in the prefix's Fonts folder only, and
# without them the texts are set in a far wider face that the designed boxes clip.
# A third argument gives the display scale as dots per inch (120 is 125 %, 144 is 150 %, 192 is
# 200 %): the prefix's LogPixels, which every program started in it reads as the display's scale.
# The mark holds the recipe's version, so that a prefix made by an older recipe is made anew.
PREFIX_RECIPE=4
WINE_FONTS=/usr/share/wine/fonts
ensure_wine_prefix() {
  local prefix kind="${2:-}" dpi="${3:-}"
  prefix="$(realpath -m "$1")"
  [ "$(cat "$prefix/.pelmora-ready" 2>/dev/null)" = "$PREFIX_RECIPE" ] && return 0
  # A prefix made elsewhere (WINEPREFIX of scripts/run) holds somebody's programs: it is used as it
  # is and never made anew.
  if [ -e "$prefix" ] && [ ! -e "$prefix/.pelmora-ready" ] && [[ "$prefix" != "$(realpath -m "$BUILD_DIR")"/* ]]; then
    log "wine: using the prefix $prefix as it is (pages are designed for Wine's fonts in its C:\windows\Fonts)"
    return 0
  fi
  # Test programs started side by side must not make the same prefix twice.
  mkdir -p "$(dirname "$prefix")"
  exec {lock}>"$prefix.lock"
  flock "$lock"
  if [ "$(cat "$prefix/.pelmora-ready" 2>/dev/null)" = "$PREFIX_RECIPE" ]; then
    exec {lock}>&-
    return 0
  fi
  if [ ! -f "$WINE_FONTS/sserife.fon" ]; then
    log "wine: Wine's fonts are missing in $WINE_FONTS (package fonts-wine; scripts/setup-deps installs it)"
    exec {lock}>&-
    return 1
  fi
  log "wine: creating the prefix $prefix"
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  if ! (
    set -e
    wine_env "$prefix"
    unset DISPLAY
    wineboot -i >/dev/null 2>&1
    wineserver -w
    rm -f "$prefix/dosdevices/z:"
    cp "$WINE_FONTS"/* "$prefix/drive_c/windows/Fonts/"
    local users="$prefix/drive_c/users/$(whoami)"
    for d in Desktop Documents Downloads Music Pictures Videos; do
      if [ -L "$users/$d" ]; then rm "$users/$d"; mkdir "$users/$d"; fi
    done
    {
      printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
      if [ -n "$dpi" ]; then
        printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$dpi"
      fi
      if [ "$kind" = test ]; then
        printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
        printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\r\n"r:"="floppy"\r\n"n:"="network"\r\n"x:"="network"\r\n'
      fi
    } > "$prefix/drive_c/pelmora-settings.reg"
    (cd "$prefix/drive_c" && wine regedit /S 'C:\pelmora-settings.reg')
    rm "$prefix/drive_c/pelmora-settings.reg"
    if [ "$kind" = test ]; then
      for letter in d e f r n; do
        mkdir -p "$prefix/test-drives/$letter"
        map_drive "$prefix" "$letter" "$prefix/test-drives/$letter"
      done
    fi
    wineserver -w
  ); then
    log "wine: could not create the prefix $prefix"
    exec {lock}>&-
    return 1
  fi
  echo "$PREFIX_RECIPE" > "$prefix/.pelmora-ready"
  exec {lock}>&-
}

# The test prefix of a display scale: the test prefix itself at 96 dots per inch, a prefix of
# its own at any other.
test_prefix() {
  local prefix="$1" dpi="${2:-96}"
  if [ "$dpi" = 96 ]; then echo "$prefix"; else echo "$prefix-${dpi}dpi"; fi
}

# Maps a Linux folder to a drive letter of a prefix.
map_drive() {
  local prefix="$1" letter="$2" folder="$3"
  ln -sfn "$folder" "$prefix/dosdevices/$letter:"
}

# Starts a private X server and exports DISPLAY; XVFB_PID names it for stop_xvfb. Its screen
# holds the wizard at 200 % (1560 x 1018 and the frame), for the tests at the display scales.
start_xvfb() {
  local fifo; fifo="$(mktemp -u)"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number; read -r number <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$number"
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

# Starts the desktop of a test prefix (at a display scale in dots per inch, 96 when not given)
# and keeps it, with its COM services, until the prefix's Wine server is ended. The desktop ends
# about a second after the prefix's last program; a window opened when there is none starts it
# anew as that test program's child, holding the test's output open and answering for its
# parent process, with the shell coming up a while later. A program of its own holds it.
hold_desktop() {
  local prefix="$1" build="$2" dpi="${3:-96}"
  PELMORA_TEST_DPI="$dpi" "$PELMORA_ROOT/scripts/wine-exec" "$prefix" "$build" "$build/tests/driver/pmdrive.exe" hold \
    </dev/null >/dev/null 2>&1 &
  PELMORA_TEST_DPI="$dpi" "$PELMORA_ROOT/scripts/wine-exec" "$prefix" "$build" "$build/tests/driver/pmdrive.exe" warm-up \
    </dev/null >/dev/null 2>&1
}

# Runs the Windows tests under Wine, on a private virtual display and in the test prefix,
# `rounds` times in a row (once by default) with the test command's parallelism; every round
# runs to its end, and the status is that of the worst round. Extra arguments go to ctest.
run_windows_tests() {
  local rounds="${1:-1}"; shift || true
  local prefix="$WIN_BUILD/wine/test-prefix"
  ensure_wine_prefix "$prefix" test
  start_xvfb
  local status=0
  (
    wine_env "$prefix"
    # One warm wineserver and desktop for the whole run: a cold start per test costs seconds.
    wineserver -p
    hold_desktop "$prefix" "$WIN_BUILD"
    trap 'wineserver -k 2>/dev/null || true' EXIT
    failed=0
    for round in $(seq 1 "$rounds"); do
      [ "$rounds" -gt 1 ] && log "== Windows tests, round $round of $rounds"
      if ! ctest --test-dir "$WIN_BUILD" -j "$JOBS" --output-on-failure "$@"; then
        failed=$((failed + 1))
        log "== round $round failed"
      fi
    done
    [ "$rounds" -gt 1 ] && log "== $((rounds - failed)) of $rounds rounds passed"
    [ "$failed" -eq 0 ]
  ) || status=1
  stop_xvfb
  return "$status"
}
