#!/usr/bin/env bash
# Runs the Windows test program under wine against virtual displays on this machine:
#   run-under-wine.sh TEST_PROGRAM.exe LINUX_BUILD_FOLDER [gtest arguments...]
# In a scratch folder it makes a wine prefix whose COM ports are the displays'
# pseudo-terminals (dosdevices/comN links):
#   COM5  a KT350-MK at 9600 baud
#   COM6  a display that has stopped reading (its process is stopped)
#   COM7  a display whose line another program holds for exclusive use (TIOCEXCL)
#   COM8  a KT350--MKA (addressed transfers) at 19200 baud
#   COM9  a KT350-MK at 115200 baud that the program stops and continues
#   COM10 a display the program ends (its end of the line closes, as when an adapter
#         is unplugged)
# and records ICU's code-page conversion for the program to compare with. Under root,
# wine runs as "nobody", since the superuser may open a line held exclusively.
# Afterwards it checks the displays' logs for the frames the tests sent.
set -euo pipefail

program=$(realpath "$1")
host_build=$(realpath "$2")
shift 2

# Debian's 64-bit loader directly: the wine script looks for a 32-bit wine as well.
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[[ -x $wineserver ]] || wineserver=$(command -v wineserver)
sim=$host_build/sim/tavisto-sim
recorder=$host_build/tests/settings/tavisto_record_code_pages
for tool in "$sim" "$recorder"; do
    [[ -x $tool ]] || { echo "missing $tool (build the Linux tree first)" >&2; exit 1; }
done

scratch=$(mktemp -d /tmp/tavisto-wine.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill -CONT "$pid" 2>/dev/null || true
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    if [[ -n ${as_user:-} ]]; then
        runuser -u "$as_user" -- env WINEPREFIX="$scratch/prefix" "$wineserver" -k 2>/dev/null ||
            true
    else
        WINEPREFIX="$scratch/prefix" "$wineserver" -k 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# Unpaced: the tests check bytes, not the wire's speed.
sim_args=(--model KT350-MK --baud 9600 --unpaced)

# Starts a display; its device path is in $device.
start_display() {
    local log=$1
    shift
    "$sim" "${sim_args[@]}" "$@" >"$log.path" 2>"$log" &
    pids+=($!)
    for _ in $(seq 100); do
        device=$(head -n 1 "$log.path" 2>/dev/null || true)
        [[ -n $device ]] && return 0
        sleep 0.1
    done
    echo "the virtual display did not start: $(cat "$log")" >&2
    exit 1
}

start_display "$scratch/display.log" --verbose
display=$device
start_display "$scratch/stalled.log"
stalled=$device
kill -STOP "${pids[-1]}"
start_display "$scratch/held.log"
held=$device
start_display "$scratch/addressed.log" --verbose --model KT350--MKA --baud 19200
addressed=$device
start_display "$scratch/pausable.log" --verbose --baud 115200
pausable=$device
pausable_pid=${pids[-1]}
start_display "$scratch/doomed.log"
doomed=$device
doomed_pid=${pids[-1]}

# Sends a display's process a signal when the program asks for it: the program makes
# the file SIGNAL-PORT (STOP, CONT or TERM; "COM9.STOP" would name the port itself)
# in the folder signals and waits until it is gone.
mkdir "$scratch/signals"
watch_signals() {
    local port=$1 pid=$2 signal
    while :; do
        for signal in STOP CONT TERM; do
            if [[ -e $scratch/signals/$signal-$port ]]; then
                kill -"$signal" "$pid" 2>/dev/null || true
                rm -f "$scratch/signals/$signal-$port"
            fi
        done
        sleep 0.05
    done
}
watch_signals COM9 "$pausable_pid" &
pids+=($!)
watch_signals COM10 "$doomed_pid" &
pids+=($!)

"$recorder" "$scratch/code-pages.tsv"

as_user=
run=()
if ((EUID == 0)); then
    as_user=nobody
    run=(runuser -u "$as_user" --)
    chmod 0666 "$display" "$stalled" "$held" "$addressed" "$pausable" "$doomed"
fi
# The exclusive hold: the terminal ioctl TIOCEXCL (0x540C) on an open descriptor.
perl -e 'open(my $line, "+<", $ARGV[0]) or die "$ARGV[0]: $!"; ioctl($line, 0x540C, 0) or die "TIOCEXCL: $!"; sleep 600' "$held" &
pids+=($!)

mkdir -p "$scratch/home" "$scratch/prefix"
cp "$program" "$scratch/tests.exe"
[[ -n $as_user ]] && chown -R "$as_user" "$scratch" && chmod a+r "$scratch/code-pages.tsv"

export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    HOME="$scratch/home" TAVISTO_TEST_PORT=COM5 TAVISTO_TEST_STALLED_PORT=COM6 \
    TAVISTO_TEST_HELD_PORT=COM7 TAVISTO_TEST_ADDRESSED_PORT=COM8 TAVISTO_TEST_STOPPED_PORT=COM9 \
    TAVISTO_TEST_DOOMED_PORT=COM10 TAVISTO_TEST_SIGNALS="Z:${scratch//\//\\}\\signals" \
    TAVISTO_CODE_PAGE_TABLE="Z:${scratch//\//\\}\\code-pages.tsv"
unset DISPLAY WAYLAND_DISPLAY
"${run[@]}" env LC_ALL=C.UTF-8 "$wine" wineboot --init >/dev/null 2>&1
# The ports as a user sets them up (Software\Wine\Ports); when wine starts again,
# its mount manager makes the dosdevices/comN links and lists the ports under
# SERIALCOMM, as Windows lists its serial drivers' ports.
ports=$scratch/ports.reg
{
    printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    printf '"COM%s"="%s"\r\n' 5 "$display" 6 "$stalled" 7 "$held" 8 "$addressed" 9 "$pausable" \
        10 "$doomed"
} >"$ports"
"${run[@]}" env LC_ALL=C.UTF-8 "$wine" regedit /S "Z:${ports//\//\\}" >/dev/null 2>&1
"${run[@]}" env WINEPREFIX="$WINEPREFIX" "$wineserver" -k
for n in 5 6 7 8 9 10; do
    if [[ ! -L $WINEPREFIX/dosdevices/com$n ]]; then
        "${run[@]}" env LC_ALL=C.UTF-8 "$wine" wineboot >/dev/null 2>&1
        break
    fi
done

status=0
"${run[@]}" env LC_ALL=C.UTF-8 TAVISTO_TEST_LANG_ID=1033 "$wine" "$scratch/tests.exe" "$@" ||
    status=1
"${run[@]}" env LC_ALL=zh_CN.UTF-8 TAVISTO_TEST_LANG_ID=2052 "$wine" "$scratch/tests.exe" \
    --gtest_filter='SystemLanguage.*' || status=1

# The frames the setting and transfer tests sent, as the display took them (when all
# tests ran).
if (($# == 0)); then
    expect_frame() {
        if ! grep -q "recv $2" "$scratch/$1.log"; then
            echo "the display on $1 never took the frame $2" >&2
            status=1
        fi
    }
    expect_frame display 02070E996633
    expect_frame display 02071C78
    expect_frame display 0207050157494E2E42494E
    expect_frame addressed 0210000320000000012C
    # The end of the one-shot frame the port closed on while the display was stopped.
    expect_frame pausable 1F5802
    for log in display addressed; do
        if grep -q '^ *[0-9.]* bad ' "$scratch/$log.log"; then
            echo "the display on $log rejected frames:" >&2
            grep '^ *[0-9.]* bad ' "$scratch/$log.log" >&2
            status=1
        fi
    done
fi
exit $status
