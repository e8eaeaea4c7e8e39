# Shell helpers shared by scripts/test and scripts/run: a private Xvfb display
# and a Wine prefix of our own.

# Starts Xvfb on a display number it picks itself and exports DISPLAY.
start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local n
    read -r -t 20 n <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$n" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$n"
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

# Makes (or reuses) a Wine prefix at $1 with the first-start dialogs switched
# off, and exports WINEPREFIX.
prepare_wine_prefix() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    local root
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$root/scripts/wine-run" wineboot --init >/dev/null 2>&1 || true
        # No crash dialogs: a crashing test must end, not wait for a click.
        "$root/scripts/wine-run" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1 || true
        "$root/scripts/wine-run" wineserver -w >/dev/null 2>&1 || true
    fi
    # Wine's Direct3D command-stream thread busy-waits after every frame; with
    # it off the pictures and the frame rate stay and the CPU drops by half
    # (bench/floor/run.sh --csmt both). The client itself sets nothing.
    if ! grep -q '^"csmt"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
        "$root/scripts/wine-run" reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1 || true
        "$root/scripts/wine-run" wineserver -w >/dev/null 2>&1 || true
    fi
}

# Keeps one Wine server up for the prefix until stop_wine: dozens of short
# test programs start and end side by side, and none of them then starts a
# server, meets one on its way out, or hands it its output pipe.
start_wineserver() {
    /usr/lib/wine/wineserver -p >/dev/null 2>&1 || true
}

stop_wine() {
    [ -n "${WINEPREFIX:-}" ] && /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
}
