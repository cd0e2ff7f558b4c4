#!/usr/bin/env bash
# Tries the Windows installer and the installed programs under wine, as a user would,
# against virtual displays of the Linux build mapped to COM ports:
#   try-under-wine.sh SETUP.exe WINDOWS_BUILD LINUX_BUILD OUT_FOLDER
# In a scratch wine prefix made for the run it installs silently, checks what the
# installer wrote, runs tavisto-cli.exe through the everyday commands and their
# failures, runs the window's test program on a COM port, keeps a screenshot of the
# installed window after Connect in OUT_FOLDER, then uninstalls and checks that every
# installed file went and a file of the user's in the program's folder stayed.
#   COM5  KT350-MK at 9600 baud (named transfers)      COM6  KT350--MKA at 19200 (addressed)
#   COM7  KT350-MK at 9600 (the second provisioned)    COM8  held by another program
#   COM10 KT350--MKA at 9600, paced like a real line (interrupted with Ctrl+C)
# COM9 does not exist. Under root, wine runs as "nobody": the superuser may open a line
# that another program holds for exclusive use.
set -euo pipefail
setup=$(realpath "$1")
windows_build=$(realpath "$2")
host_build=$(realpath "$3")
out=$(mkdir -p "$4" && realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-session.sh"

passes=0
failures=0
check() { # check DESCRIPTION COMMAND... : runs the check, counts a failure
    local what=$1
    shift
    if "$@"; then
        echo "ok    $what"
        passes=$((passes + 1))
    else
        echo "FAIL  $what" >&2
        failures=$((failures + 1))
    fi
}

wine_session_start "$host_build"
start_display COM5 --model KT350-MK --baud 9600 --verbose --unpaced
start_display COM6 --model KT350--MKA --baud 19200 --verbose --unpaced
start_display COM7 --model KT350-MK --baud 9600 --unpaced
start_display COM8 --model KT350-MK --baud 9600 --unpaced
hold_exclusively COM8
start_display COM10 --model KT350--MKA --baud 9600 --verbose
wine_session_ports

drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Tavisto"
menu_entry="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavisto.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavisto'
listing() { (cd "$drive" && find . -path ./users -prune -o -print | sort); }

# --- The installer -----------------------------------------------------------------
listing >"$scratch/before.txt"
cp "$setup" "$scratch/setup.exe"
as_wine_user chmod a+r "$scratch/setup.exe" 2>/dev/null || true
check "the installer runs silently" run_wine "$scratch/setup.exe" /S
listing >"$scratch/after.txt"
check "tavisto.exe, tavisto-cli.exe and the Qt plugins are installed" \
    test -f "$folder/tavisto.exe" -a -f "$folder/tavisto-cli.exe" \
    -a -f "$folder/platforms/qwindows.dll" -a -f "$folder/styles/qwindowsvistastyle.dll"
check "the Start menu has an entry" test -f "$menu_entry"
has_uninstall_entry() { run_wine reg query "$key" /v DisplayName 2>/dev/null | grep -q Tavisto; }
no_uninstall_entry() { ! has_uninstall_entry; }
check "the list of installed programs has an entry" has_uninstall_entry
outside=$(comm -13 "$scratch/before.txt" "$scratch/after.txt" |
    grep -v -e '^./Program Files/Tavisto' -e '/Start Menu/Programs/Tavisto.lnk$' || true)
check "nothing else was written to drive C ($outside)" test -z "$outside"
installed_files=$(cd "$folder" && find . -type f | sort)

cli() { run_wine "$folder/tavisto-cli.exe" "$@"; }
expect() { # expect STATUS PATTERN DESCRIPTION -- COMMAND...: status and output
    local status=$1 pattern=$2 what=$3
    shift 4
    local got=0
    "$@" >"$scratch/out.txt" 2>&1 || got=$?
    if [[ $got == "$status" ]] && grep -qE -- "$pattern" "$scratch/out.txt"; then
        echo "ok    $what"
        passes=$((passes + 1))
    else
        echo "FAIL  $what: exit $got (expected $status), output:" >&2
        sed 's/^/      /' "$scratch/out.txt" >&2
        failures=$((failures + 1))
    fi
}

# --- tavisto-cli.exe, installed --------------------------------------------------
work=$scratch/work
mkdir -p "$work"
convert -size 320x240 gradient:red-blue "$work/logo.png"
convert -size 200x150 xc:green "$work/收银台.png"
head -c 3000 /dev/urandom >"$work/broken.png"
# A file of CP850's room on the addressed models: the Ctrl+C below comes about halfway
# through its 10 s on the wire (--yes accepts it on the 480x272 model COM10 acts as,
# whose CP850 image is smaller).
head -c 102400 /dev/urandom >"$work/font.bin"
as_wine_user_owns "$work"
W() { winpath "$work/$1"; }

expect 0 'COM5' "ports lists the virtual displays" -- cli ports
expect 0 'KT350-MK' "connect finds the display on COM5" -- cli --port COM5 connect
expect 0 '' "defaults writes a settings file" -- cli defaults "$(W shop.ini)"
expect 0 '' "apply sends it" -- cli --port COM5 apply "$(W shop.ini)"
expect 0 '' "send-picture to a named model, from a file named in Chinese" -- \
    cli --port COM5 send-picture 73 "$(W 收银台.png)"
expect 0 '' "send-picture to an addressed model" -- cli --port COM6 send-picture 73 "$(W logo.png)"
expect 0 '' "download of a font file" -- cli --port COM5 download CP850 "$(W font.bin)"
cat >"$work/shop.json" <<JSON
{"settings": "shop.ini", "pictures": {"73": "logo.png"}, "play": {"pictures": [1], "standby": 30, "interval": 5}}
JSON
as_wine_user_owns "$work"
expect 0 'succeeded' "provision of two displays with a report" -- \
    cli provision "$(W shop.json)" --ports COM5,COM7 --report "$(W report.json)"
check "the report names both ports as succeeded" \
    bash -c "grep -c '\"succeeded\"' '$work/report.json' | grep -qv '^0$' && grep -q COM7 '$work/report.json'"
expect 0 '"displays"' "inventory --json" -- cli inventory --ports COM5,COM6 --json
expect 1 'COM9' "a missing port is named" -- cli --port COM9 connect
expect 1 'COM8' "a port in use is named" -- cli --port COM8 connect
expect 1 'broken.png' "a corrupt picture is named" -- cli --port COM5 send-picture 74 "$(W broken.png)"

# Ctrl+C during a transfer: the console's control event stops it at a safe point, the
# display is set back to its speed, and the exit status is 130.
interrupt_status=0
# With job control on, the program is started without SIGINT ignored, as from a
# console; wine turns SIGINT into the console's Ctrl+C event.
set -m
run_wine "$folder/tavisto-cli.exe" --port COM10 --baud 9600 download CP850 "$(W font.bin)" --yes \
    >"$scratch/interrupt.txt" 2>&1 &
interrupted=$!
set +m
sleep 5
pkill -INT -f "^$folder/tavisto-cli.exe --port COM10" || true
wait "$interrupted" || interrupt_status=$?
check "Ctrl+C during a transfer ends it with 130 ($(tail -n 2 "$scratch/interrupt.txt" | tr '\n' ' '))" \
    test "$interrupt_status" = 130
expect 0 'KT350--MKA' "the interrupted display answers at its own speed again" -- \
    cli --port COM10 connect

# --- The window --------------------------------------------------------------------
com_test=$windows_build/tests/windows/app_ui_com_tests.exe
if [[ -f $com_test ]]; then
    cp "$com_test" "$windows_build/tests/windows/Qt6Test.dll" "$folder/"
    mkdir -p "$scratch/window-logs"
    as_wine_user_owns "$folder" "$scratch/window-logs"
    check "the window connects, sends its settings and a picture on COM5" \
        run_wine_env TAVISTO_TEST_PORT=COM5 \
        TAVISTO_WINDOW_TEST_LOGS="$(winpath "$scratch/window-logs")" "$folder/app_ui_com_tests.exe"
    grep -h -e '^FAIL' -e '^   Loc' "$scratch"/window-logs/*.txt 2>/dev/null | sed 's/^/      /' || true
    rm -f "$folder/app_ui_com_tests.exe" "$folder/Qt6Test.dll"
fi
check "a screenshot of the installed window after Connect: $out/tavisto-connected.png" \
    screenshot_after_connect "$folder/tavisto.exe" COM5 "$out/tavisto-connected.png"

# --- Uninstall -----------------------------------------------------------------------
echo "my own settings" >"$folder/my-shop.ini"
check "the uninstaller runs silently" run_wine "$folder/uninstall.exe" /S
# It goes on from a copy of itself in the temporary folder and deletes itself last.
for _ in $(seq 120); do
    [[ -e $folder/uninstall.exe ]] || break
    sleep 0.5
done
sleep 1
left=$(cd "$folder" 2>/dev/null && find . -type f | sort || true)
check "every installed file is gone, the user's file stays ($left)" test "$left" = "./my-shop.ini"
check "the Start menu entry is gone" test ! -e "$menu_entry"
check "the installed-programs entry is gone" no_uninstall_entry

for log in COM5 COM6; do
    if grep -q '^ *[0-9.]* bad ' "$scratch/$log.log"; then
        echo "FAIL  the display on $log rejected frames:" >&2
        grep '^ *[0-9.]* bad ' "$scratch/$log.log" | head >&2
        failures=$((failures + 1))
    fi
done
echo "$passes passed, $failures failed"
((failures == 0))
