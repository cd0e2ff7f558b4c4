# Sourced by the scripts that run Windows programs under wine: a scratch folder and
# wine prefix made for the run, virtual displays of the Linux build on COM ports, an
# Xvfb display for windows, and clean-up of all of it when the script exits.
#   wine_session_start LINUX_BUILD     the scratch folder ($scratch), Xvfb, clean-up
#   wine_session_start_bare            the same for a run without virtual displays
#   start_display COMn SIM_ARGS...     a virtual display; its log is $scratch/COMn.log
#   hold_exclusively COMn              another program takes the line (TIOCEXCL)
#   wine_session_ports                 the prefix, with the displays as COM ports
#   run_wine PROGRAM ARGS...           runs a Windows program as the wine user
#   run_wine_env VAR=VALUE... PROGRAM  the same with more environment variables
#   winpath PATH                       the Windows name of a file of this machine
# Under root, wine runs as "nobody", since the superuser may open a line held
# exclusively.

wine_bin=/usr/lib/wine/wine64
[[ -x $wine_bin ]] || wine_bin=$(command -v wine64 || command -v wine)
wineserver_bin=/usr/lib/wine/wineserver
[[ -x $wineserver_bin ]] || wineserver_bin=$(command -v wineserver)

wine_pids=()
declare -A wine_ports=()
wine_user=
wine_as=()

wine_session_cleanup() {
    local pid
    for pid in "${wine_pids[@]}"; do
        kill -CONT "$pid" 2>/dev/null || true
        kill "$pid" 2>/dev/null || true
    done
    if [[ -n ${WINEPREFIX:-} ]]; then
        "${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" "$wineserver_bin" -k 2>/dev/null || true
    fi
    wait 2>/dev/null || true
    [[ -n ${scratch:-} ]] && rm -rf "$scratch"
}

wine_session_start() {
    sim=$1/sim/tavisto-sim
    [[ -x $sim ]] || { echo "missing $sim (build the Linux tree first)" >&2; exit 1; }
    wine_session_start_bare
}

# The same without virtual displays.
wine_session_start_bare() {
    scratch=$(mktemp -d /tmp/tavisto-wine.XXXXXX)
    chmod 0755 "$scratch"
    trap wine_session_cleanup EXIT
    if ((EUID == 0)); then
        wine_user=nobody
        wine_as=(runuser -u "$wine_user" --)
    fi
    mkdir -p "$scratch/home" "$scratch/prefix"
    export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        HOME="$scratch/home" LC_ALL=C.UTF-8
    # Windows draw on a display of their own.
    Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
    wine_pids+=($!)
    for _ in $(seq 100); do
        [[ -s $scratch/display ]] && break
        sleep 0.1
    done
    export DISPLAY=:$(cat "$scratch/display")
}

start_display() {
    local port=$1 device=
    shift
    "$sim" "$@" >"$scratch/$port.path" 2>"$scratch/$port.log" &
    wine_pids+=($!)
    for _ in $(seq 100); do
        device=$(head -n 1 "$scratch/$port.path" 2>/dev/null || true)
        [[ -n $device ]] && break
        sleep 0.1
    done
    [[ -n $device ]] || { echo "the virtual display for $port did not start" >&2; exit 1; }
    [[ -n $wine_user ]] && chmod 0666 "$device"
    wine_ports[$port]=$device
}

hold_exclusively() {
    # The terminal ioctl TIOCEXCL (0x540C) on an open descriptor.
    perl -e 'open(my $line, "+<", $ARGV[0]) or die "$ARGV[0]: $!";
             ioctl($line, 0x540C, 0) or die "TIOCEXCL: $!"; sleep 900' "${wine_ports[$1]}" &
    wine_pids+=($!)
}

as_wine_user_owns() {
    [[ -n $wine_user ]] && chown -R "$wine_user" "$@"
    return 0
}

run_wine() {
    "${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" HOME="$HOME" DISPLAY="$DISPLAY" \
        "$wine_bin" "$@"
}

run_wine_env() {
    local variables=()
    while [[ $1 == *=* ]]; do
        variables+=("$1")
        shift
    done
    "${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" HOME="$HOME" DISPLAY="$DISPLAY" \
        "${variables[@]}" "$wine_bin" "$@"
}

winpath() {
    local path
    path=$(realpath -m "$1")
    echo "Z:${path//\//\\}"
}

# The ports as a user sets them up (Software\Wine\Ports); when wine starts again, its
# mount manager makes the dosdevices/comN links and lists the ports under SERIALCOMM,
# as Windows lists its serial drivers' ports.
wine_session_ports() {
    as_wine_user_owns "$scratch"
    run_wine wineboot --init >/dev/null 2>&1
    local reg=$scratch/ports.reg port
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
        for port in "${!wine_ports[@]}"; do
            printf '"%s"="%s"\r\n' "$port" "${wine_ports[$port]}"
        done
    } >"$reg"
    chmod a+r "$reg"
    run_wine regedit /S "$(winpath "$reg")" >/dev/null 2>&1
    "${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" "$wineserver_bin" -k || true
    # SERIALCOMM is a volatile key that the mount manager fills a moment after the
    # wine server starts: one server (persistent) for the whole session, then wait for
    # the ports to be listed.
    "${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" "$wineserver_bin" -p >/dev/null 2>&1
    for port in "${!wine_ports[@]}"; do
        if [[ ! -L $WINEPREFIX/dosdevices/${port,,} ]]; then
            run_wine wineboot >/dev/null 2>&1
            break
        fi
    done
    local listed
    for _ in $(seq 60); do
        listed=$(run_wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' 2>/dev/null || true)
        local missing=0
        for port in "${!wine_ports[@]}"; do
            grep -q "$port" <<<"$listed" || missing=1
        done
        ((missing)) || return 0
        sleep 0.5
    done
    echo "wine did not list the COM ports: $listed" >&2
    return 1
}

# Starts a window program, types PORT, presses Connect and keeps a screenshot:
#   screenshot_after_connect PROGRAM.exe PORT OUT.png
# Connect sits at the right of the window's top row; the picture is taken once
# Connect's message box has been answered by the window's own message loop (its
# text is read back from the box's window title).
screenshot_after_connect() {
    local program=$1 port=$2 png=$3 window=
    run_wine "$program" >"$scratch/window.log" 2>&1 &
    wine_pids+=($!)
    for _ in $(seq 120); do
        window=$(xdotool search --name '^Tavisto v' 2>/dev/null | head -n 1 || true)
        [[ -n $window ]] && break
        sleep 0.5
    done
    [[ -n $window ]] || return 1
    sleep 2
    # The port typed into the port box (218 px right and 34 px down of the window's top
    # left corner), then Connect (790, 34).
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 218)) $((Y + 34)) click --repeat 3 1
    xdotool type --delay 50 "$port"
    xdotool mousemove $((X + 790)) $((Y + 34)) click 1
    sleep 8
    import -display "$DISPLAY" -window root "$png"
    local status=$?
    # Closed, so that the uninstaller finds no file in use.
    pkill -f "^$program" || true
    sleep 1
    return $status
}
