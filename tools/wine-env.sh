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
    TARLIN_WINE_IDS=$TARLIN_WINE_DIR/ids32
else
    export WINEPREFIX=$TARLIN_WINE_DIR/prefix
    export WINEARCH=win64
    TARLIN_WINE=/usr/lib/wine/wine64
    export WINELOADER=$TARLIN_WINE
    TARLIN_WINE_IDS=$TARLIN_WINE_DIR/ids
fi

# Whether this kernel runs the 32-bit loader by itself (some refuse 32-bit programs; then
# tools/i386-namespace lends them an emulator).
wine32_native() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# What a prefix is made with; a prefix made by an older recipe is made again (version 2:
# Wine's own fonts from fonts-wine linked in, which draw the title-bar buttons).
TARLIN_PREFIX_VERSION=2

# Creates the prefix once; concurrent callers wait on the lock. An outdated prefix is made
# again only while no server runs on it.
wine_prefix_ready() {
    mkdir -p "$TARLIN_WINE_DIR"
    _prefix_current && return 0
    (
        flock 9
        _prefix_current && exit 0
        if [ -d "$WINEPREFIX" ] && [ -n "$(_prefix_server_pid)" ]; then
            echo "tools/wine-env.sh: $WINEPREFIX is outdated but in use; made again later" >&2
            exit 0
        fi
        rm -rf "$WINEPREFIX"
        $TARLIN_WINE wineboot -i </dev/null >/dev/null 2>&1
        $TARLIN_WINE reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
            </dev/null >/dev/null 2>&1
        $TARLIN_WINE reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
            </dev/null >/dev/null 2>&1
        wineserver -w
        _link_wine_fonts
        echo "$TARLIN_PREFIX_VERSION" >"$WINEPREFIX/.tarlin-ready"
    ) 9>"$TARLIN_WINE_DIR/lock"
}

# Debian's Wine looks for fonts only in the prefix's Fonts folder and through fontconfig, not
# among its own (fonts-wine): without these links the title-bar buttons (Marlett) show
# letters.
_link_wine_fonts() {
    local f fonts=$WINEPREFIX/drive_c/windows/Fonts
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
        [ -e "$f" ] && ln -sf "$f" "$fonts/"
    done
    return 0
}

_prefix_current() {
    [ "$(cat "$WINEPREFIX/.tarlin-ready" 2>/dev/null)" = "$TARLIN_PREFIX_VERSION" ]
}

# --- Ids. A process is named by "pid.start" (its start time in clock ticks since boot),
# so that a reused pid never passes for a process we recorded.

_proc_start() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    set -- $stat
    echo "${20}"
}

_id_of() {
    local start
    start=$(_proc_start "$1") || return 1
    echo "$1.$start"
}

_id_alive() {
    local id=${1:-}
    [ -n "$id" ] && [ "$(_id_of "${id%%.*}")" = "$id" ]
}

# Ends the recorded process: politely, then for sure.
_id_end() {
    local id=$1 pid=${1%%.*} i
    _id_alive "$id" || return 0
    kill -INT "$pid" 2>/dev/null || true
    for i in $(seq 50); do
        _id_alive "$id" || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# The pid of the server running on this prefix, whoever started it; empty when none runs.
# A server works in /tmp/.wine-UID/server-DEV-INODE (or /tmp/wine-XXXXXX/...) of its prefix.
_prefix_server_pid() {
    local name p cwd comm
    [ -d "$WINEPREFIX" ] || return 0
    name=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for p in /proc/[0-9]*; do
        comm=""
        read -r comm 2>/dev/null <"$p/comm" || continue
        case $comm in wineserver*) ;; *) continue ;; esac
        cwd=$(readlink "$p/cwd" 2>/dev/null) || continue
        case $cwd in /tmp/.wine-"$(id -u)"/"$name" | /tmp/wine-*/"$name") echo "${p#/proc/}"; return 0 ;; esac
    done
}

# Starts Xvfb on a free display; prints "pid display".
_start_xvfb() {
    local fifo display pid
    fifo=$(mktemp -u "$TARLIN_WINE_DIR/xvfb.XXXXXX")
    mkfifo "$fifo"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" \
        </dev/null >/dev/null 2>&1 8>&- 9>&- &
    pid=$!
    read -r -t 20 display <"$fifo" || display=
    rm -f "$fifo"
    [ -n "$display" ] || { kill "$pid" 2>/dev/null; return 1; }
    echo "$pid :$display"
}

# --- Users. Every session (tools/test, tools/run, tools/bench) and every wine-exec outside
# one records itself in $TARLIN_WINE_IDS/users; the server of this checkout's prefix and
# the display it was started on are recorded in $TARLIN_WINE_IDS/server. All users share
# them (Wine's desktop lives on one display per server), and the last user to leave ends
# them. Nothing else is ever ended: not a server or display another checkout or a person
# started.

_users_alive() {
    local f
    for f in "$TARLIN_WINE_IDS"/users/*; do
        [ -e "$f" ] || continue
        if _id_alive "${f##*/}"; then echo "${f##*/}"; else rm -f "$f"; fi
    done
}

# Joins as user id (holding the lock on fd 8, which no child may inherit): reuses the
# recorded server and display, or starts them.
_wine_join() {
    local id=$1 server="" display="" xvfb="" own="" xpid pid
    mkdir -p "$TARLIN_WINE_IDS/users"
    [ -f "$TARLIN_WINE_IDS/server" ] && read -r server display xvfb <"$TARLIN_WINE_IDS/server"
    if _id_alive "$server" && { [ "$xvfb" = - ] || _id_alive "$xvfb"; }; then
        export DISPLAY=$display
        echo "$DISPLAY -" >"$TARLIN_WINE_IDS/users/$id"
        return 0
    fi
    [ "$xvfb" = - ] || _id_end "$xvfb"
    _id_end "$server"
    rm -f "$TARLIN_WINE_IDS/server"
    xvfb=-
    if [ -z "${DISPLAY:-}" ]; then
        read -r xpid DISPLAY < <(_start_xvfb) || { echo "Xvfb did not start" >&2; return 1; }
        xvfb=$(_id_of "$xpid")
    fi
    export DISPLAY
    if [ -n "$(_prefix_server_pid)" ]; then
        # A server we did not start (Wine run by hand): used, never ended; a display made
        # for it is this user's own.
        own=$xvfb
    else
        setsid wineserver -f -p 600 </dev/null >/dev/null 2>&1 8>&- 9>&- &
        pid=$!
        server=$(_id_of "$pid")
        $TARLIN_WINE wineboot </dev/null >/dev/null 2>&1 8>&- 9>&- || true
        echo "$server $DISPLAY $xvfb" >"$TARLIN_WINE_IDS/server"
    fi
    echo "$DISPLAY ${own:--}" >"$TARLIN_WINE_IDS/users/$id"
}

# Leaves as user id (under the lock); the last user ends the server and display of record.
_wine_leave() {
    local id=$1 server="" display="" xvfb="" own=-
    [ -f "$TARLIN_WINE_IDS/users/$id" ] && { read -r display own <"$TARLIN_WINE_IDS/users/$id" || true; }
    rm -f "$TARLIN_WINE_IDS/users/$id"
    [ -z "$own" ] || [ "$own" = - ] || _id_end "$own"
    [ -z "$(_users_alive)" ] || return 0
    [ -f "$TARLIN_WINE_IDS/server" ] || return 0
    read -r server display xvfb <"$TARLIN_WINE_IDS/server" || true
    # Only while it still runs on our prefix: a pid can come back as anything.
    if _id_alive "$server" && [ "$(_prefix_server_pid)" = "${server%%.*}" ]; then
        _id_end "$server"
    fi
    [ -z "$xvfb" ] || [ "$xvfb" = - ] || _id_end "$xvfb"
    rm -f "$TARLIN_WINE_IDS/server"
    return 0
}

# Runs a join or leave under the checkout's lock.
_wine_locked() {
    local status=0
    mkdir -p "$TARLIN_WINE_DIR"
    exec 8>"$TARLIN_WINE_DIR/lock"
    flock 8
    "$@" || status=$?
    exec 8>&-
    return $status
}

# A session for a whole run (tools/test, tools/run, tools/bench): the shell that calls it
# is the user, and its children (ctest's wine-exec) run inside it.
wine_session_start() {
    wine_prefix_ready
    local me=$BASHPID # taken here: inside $(...) it would name the subshell
    TARLIN_WINE_USER=$(_id_of "$me")
    export TARLIN_WINE_USER
    _wine_locked _wine_join "$TARLIN_WINE_USER"
}

wine_session_stop() {
    [ -n "${TARLIN_WINE_USER:-}" ] || return 0
    # Only the shell that started the session ends it (a subshell inherits the variable).
    local me=$BASHPID
    [ "$TARLIN_WINE_USER" = "$(_id_of "$me")" ] || return 0
    # Runs in EXIT traps under set -e: nothing here may fail the caller.
    _wine_locked _wine_leave "$TARLIN_WINE_USER" || true
    unset TARLIN_WINE_USER
    return 0
}

# For a single Wine program (ctest's emulator): inside a session of this checkout it only
# takes the session's display; outside one it is a user of its own until wine_detach.
wine_attach() {
    wine_prefix_ready
    TARLIN_ATTACHED=""
    local own
    if [ -n "${TARLIN_WINE_USER:-}" ] && _id_alive "$TARLIN_WINE_USER" &&
        [ -f "$TARLIN_WINE_IDS/users/$TARLIN_WINE_USER" ]; then
        read -r DISPLAY own <"$TARLIN_WINE_IDS/users/$TARLIN_WINE_USER"
        export DISPLAY
        return 0
    fi
    local me=$BASHPID
    TARLIN_ATTACHED=$(_id_of "$me")
    _wine_locked _wine_join "$TARLIN_ATTACHED"
}

wine_detach() {
    [ -n "${TARLIN_ATTACHED:-}" ] || return 0
    _wine_locked _wine_leave "$TARLIN_ATTACHED" || true
    TARLIN_ATTACHED=""
    return 0
}
