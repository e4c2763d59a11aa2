# Shared by the scripts: the repository root, Wine's environment and a virtual display.
# Source it; it defines functions and exports, it runs nothing by itself.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/mingw/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64

log() { printf '\n== %s\n' "$*"; }

# Configures the Windows cross build in a folder (default build/mingw). CMake keeps the compilers
# it found first, so a folder configured with another toolchain file starts afresh.
configure_mingw() {
    local dir=${1:-$ROOT/build/mingw}
    local toolchain="$ROOT/cmake/mingw-w64-x86_64.cmake"
    if [ -f "$dir/CMakeCache.txt" ] && ! cmp -s "$toolchain" "$dir/toolchain-in-use.cmake"; then
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    fi
    cmake --preset mingw -B "$dir" >/dev/null && cp "$toolchain" "$dir/toolchain-in-use.cmake"
}

# Creates the Wine prefix on first use, once even when several runs race for it.
ensure_wineprefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$WINE" wineboot -i >/dev/null 2>&1 || true
            /usr/lib/wine/wineserver -w || true
            "$ROOT/scripts/wine-fonts" >/dev/null 2>&1 || true
        fi
        # A program that crashes ends, with Wine's report on its stderr, instead of waiting
        # behind Wine's crash dialog for a click that no test makes.
        if ! grep -q '^"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
            "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
                >/dev/null 2>&1 || true
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts Xvfb when there is no display; stop_display stops only what start_display started.
STARTED_XVFB_PID=
start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    start_own_display
}

# Starts a virtual display of this run's own, whatever DISPLAY says: tests must not depend on the
# user's desktop or window manager. Xvfb picks a free number itself and tells it once it accepts
# connections, so runs side by side never race for one. -noreset: by default an X server resets
# when its last client leaves, as the desktop process of a Wine session does about a second after
# the session's last program ended, and a program connecting during that reset is turned away
# ("Can't open display") and ends without a window.
start_own_display() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" \
        >/dev/null 2>&1 &
    STARTED_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        if [ "$(wc -l <"$number_file")" -ge 1 ]; then
            export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
            rm -f "$number_file"
            return 0
        fi
        kill -0 "$STARTED_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number_file"
    echo "could not start Xvfb" >&2
    return 1
}
stop_display() {
    if [ -n "$STARTED_XVFB_PID" ]; then
        kill "$STARTED_XVFB_PID" 2>/dev/null || true
        wait "$STARTED_XVFB_PID" 2>/dev/null || true
        STARTED_XVFB_PID=
    fi
}
