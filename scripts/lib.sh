# Shared by the scripts: the repository root, Wine's environment and a virtual display.
# Source it; it defines functions and exports, it runs nothing by itself.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/mingw/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64

log() { printf '\n== %s\n' "$*"; }

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
    ) 9>"$WINEPREFIX.lock"
}

# Starts Xvfb when there is no display; stop_display stops only what start_display started.
STARTED_XVFB_PID=
start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n
    for n in 99 98 97 96 95 94; do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            STARTED_XVFB_PID=$!
            export DISPLAY=":$n"
            local i
            for i in $(seq 1 50); do
                [ -e "/tmp/.X11-unix/X$n" ] && return 0
                sleep 0.1
            done
        fi
    done
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
