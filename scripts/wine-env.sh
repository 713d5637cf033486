# Shell functions for running the Windows build under Wine, sourced by
# test-all.sh, run-demo.sh, bench.sh and tests/e2e/run-e2e.sh.
#
#   wine_env_export              WINE64, PATH, WINEDEBUG, WINEDLLOVERRIDES
#   wine_fonts_check             Wine's own fonts (Marlett for the caption buttons) are installed
#   wine_prefix_add_fonts PREFIX copy them into the prefix's Windows fonts folder (where missing)
#   wine_template_ensure         make the cached template prefix (once per Wine version)
#   wine_prefix_copy DEST        copy the template to DEST (a fresh folder)
#   xvfb_start FIRST LAST LOG    start Xvfb on the first free display; sets DISPLAY, CORVEXA2_XVFB_PID
#   xvfb_stop
#   wineserver_start LOG         boot the copy $WINEPREFIX to the end, then start its wineserver
#                                ourselves and check that a Wine program runs in it
#   wineserver_stop
#   wine_prefix_remove PREFIX    stop its wineserver, delete it and its server folder
#   sim_start NAME ARGS...       start the native simulator (own session), wait for its ready line;
#                                sets CORVEXA2_SIM_PID, CORVEXA2_SIM_READY
#   sim_stop
#   loopback_next ADDRESS        the next address of 127.0.0.2..254 (wrapping), as the tests move on
#   sim_free_address FIRST       the first address from FIRST on where the simulator can listen now
#   windows_sim_start PREFIX LOGDIR   simulator on 127.0.0.9 (or the next free address) and on the
#                                prefix's COM5, for the Windows tests; exports CORVEXA2_TEST_COM,
#                                CORVEXA2_TEST_SIM_TCP
#
# Every function reports a clear message on standard error and returns
# non-zero on failure; none of them exits the calling shell.

CORVEXA2_ROOT=${CORVEXA2_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
CORVEXA2_CACHE=${CORVEXA2_CACHE:-$HOME/.cache/corvexa2}
CORVEXA2_WINE_DIR=${CORVEXA2_WINE_DIR:-/usr/lib/wine}
CORVEXA2_TEMPLATE=${CORVEXA2_TEMPLATE:-$CORVEXA2_CACHE/wine-template}
# Seconds a Wine start-up step may take on a loaded machine before it counts as failed.
CORVEXA2_WINE_BOOT_SECONDS=${CORVEXA2_WINE_BOOT_SECONDS:-180}
# How many loopback addresses a simulator tries, its own first.
CORVEXA2_LOOPBACK_TRIES=${CORVEXA2_LOOPBACK_TRIES:-16}

wine_env_export() {
    export WINE64="$CORVEXA2_WINE_DIR/wine64"
    case ":$PATH:" in
        *":$CORVEXA2_WINE_DIR:"*) ;;
        *) export PATH="$CORVEXA2_WINE_DIR:$PATH" ;;
    esac
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ ! -x "$WINE64" ]; then
        echo "wine-env: $WINE64 not found (run scripts/setup.sh)" >&2
        return 1
    fi
}

# Without Wine's Marlett font the caption buttons of every window show as
# the letters "0 1 r" (Debian's fonts-wine, which wine64 only recommends).
# Prints the folder that holds Wine's fonts.
wine_fonts_check() {
    local dir
    for dir in /usr/share/wine/fonts /usr/local/share/wine/fonts; do
        if [ -f "$dir/marlett.ttf" ]; then
            echo "$dir"
            return 0
        fi
    done
    echo "wine-env: Wine's fonts are missing (no marlett.ttf; install fonts-wine, see scripts/setup.sh)" >&2
    return 1
}

# Debian's Wine 8 registers only the bitmap fonts of its font folder and
# never loads the TrueType ones (Marlett, Tahoma, ...): copies of them in
# the prefix's Windows fonts folder are loaded like any installed font.
wine_prefix_add_fonts() {
    local prefix=$1 dir font
    dir=$(wine_fonts_check) || return 1
    mkdir -p "$prefix/drive_c/windows/Fonts" || return 1
    for font in "$dir"/*.ttf; do
        [ -e "$prefix/drive_c/windows/Fonts/${font##*/}" ] || cp "$font" "$prefix/drive_c/windows/Fonts/" || return 1
    done
}

# Waits up to $1 seconds for the command in $2.. to succeed (status 0).
# Status 2 from the command means "never will" and ends the wait at once.
wait_for() {
    local tenths=$(($1 * 10)) rc; shift
    while :; do
        "$@"
        rc=$?
        [ "$rc" -eq 0 ] && return 0
        [ "$rc" -eq 2 ] && return 2
        [ "$tenths" -le 0 ] && return 1
        sleep 0.1
        tenths=$((tenths - 1))
    done
}

# What a template is made from: the Wine version and the recipe below (a
# template of an older recipe, such as one without Wine's fonts, is made again).
wine_version() {
    echo "$("$WINE64" --version 2>/dev/null | tr -d '\r'), template 2"
}

# Replaces the user-folder links that wineboot points into the (throw-away)
# home folder with real folders inside the prefix, so that nothing a test
# writes to "Documents" or "Desktop" ever lands in a real home folder.
wine_template_unlink_home() {
    local prefix=$1 link
    for link in "$prefix"/drive_c/users/*/* "$prefix"/drive_c/users/*/AppData/*; do
        if [ -L "$link" ]; then
            rm -f "$link"
            mkdir -p "$link"
        fi
    done
}

wine_template_build() {
    local log=$1 work home version
    version=$(wine_version)
    work="$CORVEXA2_TEMPLATE.new.$$"
    home=$(mktemp -d /tmp/corvexa2-winehome.XXXXXX)
    rm -rf "$work"
    echo "wine-env: making the Wine template prefix ($version) in $CORVEXA2_TEMPLATE" >&2
    # After wineboot and the registry change, one more start and stop: the
    # template is saved as a started prefix looks, with nothing left to
    # update on the first start of a copy.
    if ! (
        export HOME="$home" WINEPREFIX="$work"
        unset DISPLAY
        "$WINE64" wineboot -i </dev/null >>"$log" 2>&1 &&
            wineserver_wait_gone "$log" &&
            "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$log" 2>&1 &&
            wineserver_wait_gone "$log" &&
            wine_checked_start "$log" &&
            wineserver_wait_gone "$log"
    ); then
        echo "wine-env: making the template failed; see $log" >&2
        rm -rf "$work" "$home"
        return 1
    fi
    if [ ! -s "$work/system.reg" ] || [ ! -s "$work/user.reg" ] || [ ! -s "$work/.update-timestamp" ]; then
        echo "wine-env: the new template has no registry or update stamp; see $log" >&2
        rm -rf "$work" "$home"
        return 1
    fi
    wine_template_unlink_home "$work"
    if ! wine_prefix_add_fonts "$work"; then
        rm -rf "$work" "$home"
        return 1
    fi
    rm -f "$work"/dosdevices/com*
    # Each copy gets a server folder of its own (Debian's Wine names it here).
    rm -f "$work/wineserver"
    printf '%s\n' "$version" >"$work/.corvexa2-wine-version"
    rm -rf "$home" "$CORVEXA2_TEMPLATE"
    mv "$work" "$CORVEXA2_TEMPLATE"
}

# Makes the template once; rebuilds it when it is missing or was made by
# another Wine version. A lock keeps two runs from building it together.
wine_template_ensure() {
    local log=${1:-/dev/null}
    wine_env_export || return 1
    mkdir -p "$CORVEXA2_CACHE"
    (
        flock 9
        if [ -f "$CORVEXA2_TEMPLATE/.corvexa2-wine-version" ] &&
            [ "$(cat "$CORVEXA2_TEMPLATE/.corvexa2-wine-version")" = "$(wine_version)" ]; then
            exit 0
        fi
        wine_template_build "$log"
    ) 9>"$CORVEXA2_CACHE/wine-template.lock"
}

wine_prefix_copy() {
    local dest=$1
    if [ -e "$dest" ] && [ -n "$(ls -A "$dest" 2>/dev/null)" ]; then
        echo "wine-env: $dest is not empty" >&2
        return 1
    fi
    rm -rf "$dest"
    cp -a "$CORVEXA2_TEMPLATE" "$dest"
}

xvfb_start() {
    local first=$1 last=$2 log=$3 n pid
    for ((n = first; n <= last; n++)); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >>"$log" 2>&1 &
        pid=$!
        # Ready when the socket exists; a lost race for the display ends Xvfb.
        if wait_for 30 xvfb_ready "$n" "$pid"; then
            export DISPLAY=":$n"
            CORVEXA2_XVFB_PID=$pid
            return 0
        fi
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    echo "wine-env: no free X display in :$first..:$last (see $log)" >&2
    return 1
}

xvfb_ready() {
    kill -0 "$2" 2>/dev/null || return 2
    [ -S "/tmp/.X11-unix/X$1" ]
}

xvfb_stop() {
    if [ -n "${CORVEXA2_XVFB_PID:-}" ]; then
        kill "$CORVEXA2_XVFB_PID" 2>/dev/null
        wait "$CORVEXA2_XVFB_PID" 2>/dev/null
        CORVEXA2_XVFB_PID=
    fi
}

# Waits until the wineserver of $WINEPREFIX has ended, which it does once
# every program of the prefix (wineboot and the services it started among
# them) has ended and the registry is written back to the prefix.
wineserver_wait_gone() {
    local log=${1:-/dev/null}
    timeout "$CORVEXA2_WINE_BOOT_SECONDS" wineserver -w </dev/null >>"$log" 2>&1 && return 0
    echo "wine-env: the wineserver of $WINEPREFIX did not end within $CORVEXA2_WINE_BOOT_SECONDS s (see $log)" >&2
    return 1
}

# Runs one Wine program to its end and checks that it ran: the first
# program of a wineserver's session also waits for that session's wineboot.
wine_checked_start() {
    local log=$1 rc
    echo "wine-env: $(date -u +%T) first Wine program in $WINEPREFIX" >>"$log"
    timeout "$CORVEXA2_WINE_BOOT_SECONDS" "$WINE64" cmd /c exit </dev/null >>"$log" 2>&1
    rc=$?
    [ "$rc" -eq 0 ] && return 0
    echo "wine-env: the first Wine program in $WINEPREFIX ended with status $rc (see $log)" >&2
    return 1
}

# True while a wineboot (or the prefix update it runs) of $WINEPREFIX is alive.
wine_prefix_booting() {
    local pid
    # Zombies have no command line, so only live ones are found.
    for pid in $(pgrep -f 'wineboot\.exe|rundll32\.exe'); do
        tr '\0' '\n' 2>/dev/null </proc/"$pid"/environ | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}

wine_prefix_settled() {
    ! wine_prefix_booting
}

# Prepares the copy $WINEPREFIX for programs that start side by side, and
# starts its wineserver ourselves:
#   1. the copy's first start, on a server that ends by itself, with the
#      display it will have: wineboot brings the copy up to date for this
#      machine and display, everything it started ends, and the registry is
#      written back (wineserver -w) before any test can start a program;
#   2. our own wineserver, in the foreground mode and detached from our
#      output, before any Wine program or simulator: otherwise it would
#      inherit the first Wine program's standard output (pipelines never
#      end) or adopt the simulator's pty as its terminal;
#   3. the first program of that server's session, run to its end and its
#      status checked, and no wineboot left running.
# A failure of any step is reported with the log and fails the start: no
# test runs in a prefix that did not boot.
wineserver_start() {
    local log=$1 started=$SECONDS
    : "${WINEPREFIX:?wineserver_start needs WINEPREFIX}"
    # A server left running in a kept prefix (the demo's) would never end by itself.
    wineserver_ready && wineserver_stop
    wine_checked_start "$log" && wineserver_wait_gone "$log" || return 1
    (wineserver -f -p 300 </dev/null >>"$log" 2>&1 &)
    wait_for 30 wineserver_ready || {
        echo "wine-env: wineserver did not start for $WINEPREFIX (see $log)" >&2
        return 1
    }
    wine_checked_start "$log" || return 1
    wait_for "$CORVEXA2_WINE_BOOT_SECONDS" wine_prefix_settled || {
        echo "wine-env: wineboot of $WINEPREFIX still runs after $CORVEXA2_WINE_BOOT_SECONDS s (see $log)" >&2
        return 1
    }
    echo "wine-env: $(date -u +%T) $WINEPREFIX booted and its wineserver up ($((SECONDS - started)) s)" >>"$log"
}

# The server's socket lives in server-DEV-INODE (of the prefix) under
# /tmp/.wine-UID, or, with Debian's Wine, under the /tmp folder named in the
# prefix's "wineserver" file.
wineserver_socket_dir() {
    local dev ino base=/tmp/.wine-$(id -u)
    dev=$(stat -c %D "$WINEPREFIX") || return 1
    ino=$(printf '%x' "$(stat -c %i "$WINEPREFIX")") || return 1
    if [ -f "$WINEPREFIX/wineserver" ]; then
        base=/tmp/$(head -c 64 "$WINEPREFIX/wineserver" | tr -cd 'A-Za-z0-9._-')
    fi
    printf '%s\n' "$base/server-$dev-$ino"
}

wineserver_ready() {
    local dir
    dir=$(wineserver_socket_dir) && [ -S "$dir/socket" ]
}

wineserver_stop() {
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || return 0
    wineserver -k 2>/dev/null
    timeout 60 wineserver -w 2>/dev/null
    return 0
}

# Stops the prefix's wineserver and deletes the prefix with the server
# folder that Wine made for it under /tmp.
wine_prefix_remove() {
    local prefix=$1 dir
    [ -n "$prefix" ] && [ -d "$prefix" ] || return 0
    WINEPREFIX=$prefix wineserver_stop
    dir=$(WINEPREFIX=$prefix wineserver_socket_dir 2>/dev/null)
    rm -rf "$prefix"
    case "$dir" in
        /tmp/*/server-*) rm -rf "$dir"; rmdir "${dir%/*}" 2>/dev/null ;;
    esac
    return 0
}

sim_start() {
    local name=$1; shift
    local bin=${CORVEXA2_HVXSIM:-$CORVEXA2_ROOT/build/native/bin/hvxsim}
    local out=$name.out err=$name.err pidfile=$name.pid
    CORVEXA2_SIM_PID=
    CORVEXA2_SIM_READY=
    if [ ! -x "$bin" ]; then
        echo "wine-env: $bin is missing (build the native preset)" >&2
        return 1
    fi
    rm -f "$out" "$err" "$pidfile"
    # A session of its own: no terminal to share with Wine, and a signal to
    # our process group never reaches it by accident. The pid file stays
    # right even if setsid has to fork.
    setsid bash -c 'echo $$ >"$0"; exec "$@"' "$pidfile" "$bin" "$@" </dev/null >"$out" 2>"$err" &
    wait_for 10 test -s "$pidfile" 2>/dev/null
    CORVEXA2_SIM_PID=$(cat "$pidfile" 2>/dev/null)
    if ! wait_for 60 sim_ready "$out"; then
        echo "wine-env: the simulator printed no ready line ($bin $*):" >&2
        sed -n '1,20p' "$err" >&2
        sim_stop
        return 1
    fi
    CORVEXA2_SIM_READY=$(grep -m1 '^hvxsim ready ' "$out")
}

sim_ready() {
    grep -q '^hvxsim ready ' "$1" 2>/dev/null && return 0
    # Stop waiting as soon as the simulator has died.
    [ -n "$CORVEXA2_SIM_PID" ] && ! kill -0 "$CORVEXA2_SIM_PID" 2>/dev/null && return 2
    return 1
}

sim_stop() {
    local pid=${CORVEXA2_SIM_PID:-}
    CORVEXA2_SIM_PID=
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    wait_for 10 sim_gone "$pid" || kill -KILL "$pid" 2>/dev/null
    return 0
}

sim_gone() {
    ! kill -0 "$1" 2>/dev/null
}

# The address after $1 in 127.0.0.2 .. 127.0.0.254, wrapping round
# (tests/support/loopback_address.h moves on the same way).
loopback_next() {
    local host=${1#127.0.0.}
    case "$host" in
        '' | *[!0-9]*) return 1 ;;
    esac
    host=$((10#$host))
    if [ "$host" -ge 2 ] && [ "$host" -lt 254 ]; then
        echo "127.0.0.$((host + 1))"
    else
        echo "127.0.0.2"
    fi
}

# True when the simulator whose error output is $1 could not listen on
# $2 because the address and port are in use.
sim_address_in_use() {
    grep -q "cannot listen on $2:.*Address already in use" "$1" 2>/dev/null
}

# Starts the simulator as sim_start NAME does, with --address: from the
# address $2 on, moving to the next one while the address is in use.
# Sets CORVEXA2_SIM_ADDRESS to the address it listens on.
sim_start_free() {
    local name=$1 address=$2 tries=$CORVEXA2_LOOPBACK_TRIES; shift 2
    CORVEXA2_SIM_ADDRESS=
    while :; do
        if sim_start "$name" --address "$address" "$@" 2>"$name.start-error"; then
            rm -f "$name.start-error"
            CORVEXA2_SIM_ADDRESS=$address
            return 0
        fi
        tries=$((tries - 1))
        if ! sim_address_in_use "$name.err" "$address" || [ "$tries" -le 0 ]; then
            cat "$name.start-error" >&2
            return 1
        fi
        echo "wine-env: $address is in use; the simulator moves on" >&2
        address=$(loopback_next "$address") || return 1
    done
}

# Prints the first address from $1 on where the simulator can listen now,
# found by starting and stopping the simulator there: "free" is what the
# simulator itself will meet. For scripts that start their own simulator.
sim_free_address() {
    local probe status
    probe=$(mktemp -d /tmp/corvexa2-probe.XXXXXX) || return 1
    sim_start_free "$probe/probe" "$1" 2>"$probe/moves"
    status=$?
    [ "$status" -eq 0 ] && echo "$CORVEXA2_SIM_ADDRESS"
    [ "$status" -eq 0 ] || cat "$probe/moves" >&2
    sim_stop
    rm -rf "$probe"
    return "$status"
}

windows_sim_start() {
    local prefix=$1 logdir=$2
    sim_start_free "$logdir/windows-sim" 127.0.0.9 --serial --serial-link "$prefix/dosdevices/com5" \
        --transcript "$logdir/windows-sim-transcript.log" || return 1
    export CORVEXA2_TEST_COM=COM5
    export CORVEXA2_TEST_SIM_TCP=$CORVEXA2_SIM_ADDRESS
}
