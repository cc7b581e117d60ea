# Wine for this repository, sourced by the scripts and the test emulator.
# A private prefix inside the build tree (never ~/.wine), quiet Wine, no Mono/Gecko
# prompts, an X server when there is no display, and a virtual desktop so that windows
# get title bars on a server without a window manager.

TARLIN_ROOT=${TARLIN_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
TARLIN_WINE_DIR=${TARLIN_WINE_DIR:-$TARLIN_ROOT/build/wine}
# 64 runs the x86_64 programs with wine64; 32 runs the i686 ones with the 32-bit loader in a
# prefix of their own.
TARLIN_WINE_BITS=${TARLIN_WINE_BITS:-64}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=en_US.UTF-8
if [ "$TARLIN_WINE_BITS" = 32 ]; then
    export WINEPREFIX=$TARLIN_WINE_DIR/prefix32
    export WINEARCH=win32
    TARLIN_WINE=/usr/lib/wine/wine
    unset WINELOADER
    TARLIN_WINE_SESSION=$TARLIN_WINE_DIR/session32
else
    export WINEPREFIX=$TARLIN_WINE_DIR/prefix
    export WINEARCH=win64
    TARLIN_WINE=/usr/lib/wine/wine64
    export WINELOADER=$TARLIN_WINE
    TARLIN_WINE_SESSION=$TARLIN_WINE_DIR/session
fi

# Whether this kernel runs the 32-bit loader by itself (some refuse 32-bit programs; then
# tools/i386-namespace lends them an emulator).
wine32_native() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Creates the prefix once; concurrent callers wait on the lock.
wine_prefix_ready() {
    mkdir -p "$TARLIN_WINE_DIR"
    [ -f "$WINEPREFIX/.tarlin-ready" ] && return 0
    (
        flock 9
        [ -f "$WINEPREFIX/.tarlin-ready" ] && exit 0
        rm -rf "$WINEPREFIX"
        $TARLIN_WINE wineboot -i </dev/null >/dev/null 2>&1
        $TARLIN_WINE reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
            </dev/null >/dev/null 2>&1
        $TARLIN_WINE reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
            </dev/null >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.tarlin-ready"
    ) 9>"$TARLIN_WINE_DIR/lock"
}

_pid_alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

# Starts an Xvfb on a free display; prints "pid display".
_start_xvfb() {
    local fifo display pid
    fifo=$(mktemp -u "$TARLIN_WINE_DIR/xvfb.XXXXXX")
    mkfifo "$fifo"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" \
        </dev/null >/dev/null 2>&1 &
    pid=$!
    read -r -t 20 display <"$fifo" || display=
    rm -f "$fifo"
    [ -n "$display" ] || { kill "$pid" 2>/dev/null; return 1; }
    echo "$pid :$display"
}

# Starts wineserver and Wine's helper processes with their output detached, so that
# no test waits for them to close its output pipe.
_wineserver_running() {
    local name sock
    name=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for sock in /tmp/.wine-"$(id -u)"/"$name"/socket /tmp/wine-*/"$name"/socket; do
        [ -S "$sock" ] && return 0
    done
    return 1
}

# Sets TARLIN_STARTED_SERVER to the pid of the server it started (empty when one was running).
_start_wineserver() {
    TARLIN_STARTED_SERVER=""
    _wineserver_running && return 0
    setsid wineserver -f -p "$1" </dev/null >/dev/null 2>&1 &
    TARLIN_STARTED_SERVER=$!
    $TARLIN_WINE wineboot </dev/null >/dev/null 2>&1 || true
}

# A session for a whole test run: the display and the server stay up until
# wine_session_stop, which ends only what this session started.
wine_session_start() {
    wine_prefix_ready
    local xpid="" display="${DISPLAY:-}" server
    if [ -z "$display" ]; then
        read -r xpid display < <(_start_xvfb) || { echo "Xvfb did not start" >&2; return 1; }
    fi
    export DISPLAY=$display
    _start_wineserver 600
    server=$TARLIN_STARTED_SERVER
    printf '%s\n%s\n%s\n' "$display" "$xpid" "$server" >"$TARLIN_WINE_SESSION"
}

wine_session_stop() {
    [ -f "$TARLIN_WINE_SESSION" ] || return 0
    local display xpid server
    { read -r display; read -r xpid; read -r server; } <"$TARLIN_WINE_SESSION" || true
    # Only a server this session started is ended; another run may be using this prefix.
    if _pid_alive "$server"; then
        DISPLAY=$display wineserver -k 2>/dev/null || true
        kill "$server" 2>/dev/null || true
    fi
    _pid_alive "$xpid" && kill "$xpid" 2>/dev/null
    rm -f "$TARLIN_WINE_SESSION"
    return 0
}

# Uses a running session's display, or makes a short-lived display and server of our own.
# Sets TARLIN_OWN_XVFB when this caller must stop the display it started.
wine_attach() {
    wine_prefix_ready
    TARLIN_OWN_XVFB=""
    if [ -f "$TARLIN_WINE_SESSION" ]; then
        local display xpid
        { read -r display; read -r xpid; } <"$TARLIN_WINE_SESSION" || true
        if [ -z "$xpid" ] || _pid_alive "$xpid"; then
            export DISPLAY=$display
            return 0
        fi
    fi
    if [ -z "${DISPLAY:-}" ]; then
        local display
        read -r TARLIN_OWN_XVFB display < <(_start_xvfb) || return 1
        export DISPLAY=$display
    fi
    _start_wineserver 10
}
