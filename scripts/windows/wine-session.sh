# Sourced by the scripts that run Windows programs under wine: a scratch folder and
# wine prefix made for the run, virtual displays of the Linux build on COM ports, an
# Xvfb display for windows, and clean-up of all of it when the script exits.
#   wine_session_start LINUX_BUILD     the scratch folder ($scratch), Xvfb, clean-up
#   wine_session_start_bare            the same for a run without virtual displays
#   start_display COMn SIM_ARGS...     a virtual display; its log is $scratch/COMn.log
#   hold_exclusively COMn              another program takes the line (TIOCEXCL)
#   wine_session_ports                 the prefix, with the displays as COM ports
#   run_wine PROGRAM ARGS...           runs a Windows program as the wine user
#   run_wine_env VAR=VALUE PROGRAM ... the same with one more environment variable
#   wine_wait                          waits until every program of the prefix ended
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
    local variable=$1
    shift
    "${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" HOME="$HOME" DISPLAY="$DISPLAY" "$variable" \
        "$wine_bin" "$@"
}

wine_wait() {
    "${wine_as[@]}" env WINEPREFIX="$WINEPREFIX" "$wineserver_bin" -w
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
    for port in "${!wine_ports[@]}"; do
        if [[ ! -L $WINEPREFIX/dosdevices/${port,,} ]]; then
            run_wine wineboot >/dev/null 2>&1
            break
        fi
    done
}
