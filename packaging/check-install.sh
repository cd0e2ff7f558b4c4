#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks that the installed programs start
# and find what they need: their help texts, the built-in settings, the manual page,
# the desktop entry and the icons, and the window on the offscreen platform.
#   check-install.sh BUILD_DIR SCRATCH_PREFIX
set -euo pipefail
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() {
    echo "install check: $*" >&2
    exit 1
}
bin=$prefix/bin
share=$prefix/share

# A help text is read whole before it is searched: grep -q leaves at its match, and a
# program still writing the rest would die of SIGPIPE and fail the pipe.
help_has() { # help_has PATTERN PROGRAM...: PROGRAM --help succeeds and prints PATTERN
    local pattern=$1 text
    shift
    text=$("$@" --help) && grep -q "$pattern" <<<"$text"
}
help_has '^usage: tavisto-cli' "$bin/tavisto-cli" || fail "tavisto-cli --help"
help_has 'virtual customer display' "$bin/tavisto-sim" || fail "tavisto-sim --help"
# The default settings are built into the program, not read from the prefix.
"$bin/tavisto-cli" defaults "$prefix/defaults.ini" || fail "tavisto-cli defaults"
grep -q 'Baud_Rate' "$prefix/defaults.ini" || fail "the default settings file lacks Baud_Rate"

page=$share/man/man1/tavisto-cli.1
[[ -s $page ]] || fail "no manual page at $page"
grep -q '^\.TH TAVISTO-CLI 1' "$page" || fail "the manual page has no title line"
for command in ports connect apply download convert; do
    grep -q "^\.SS $command\$" "$page" || fail "the manual page misses the command $command"
done

if [[ -e $build/src/app/ui/tavisto ]]; then
    QT_QPA_PLATFORM=offscreen help_has 'tavisto' "$bin/tavisto" || fail "tavisto --help"
    entry=$share/applications/tavisto.desktop
    [[ -s $entry ]] || fail "no desktop entry at $entry"
    grep -qx 'Terminal=false' "$entry" || fail "the desktop entry lacks Terminal=false"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$entry" || fail "the desktop entry does not validate"
    fi
    [[ -s $share/icons/hicolor/scalable/apps/tavisto.svg ]] || fail "no scalable icon"
    for size in 16 24 32 48 64 128 256; do
        png=$share/icons/hicolor/${size}x${size}/apps/tavisto.png
        [[ $(head -c 8 "$png" 2>/dev/null | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
            fail "no PNG icon at $png"
    done

    # The window starts and stays up on its own virtual display until it is stopped.
    log=$prefix/window.log
    QT_QPA_PLATFORM=offscreen "$bin/tavisto" --simulate KT350-MK 2>"$log" &
    window=$!
    sleep 2
    if ! kill -0 "$window" 2>/dev/null; then
        cat "$log" >&2
        fail "the window did not stay up"
    fi
    kill "$window"
    wait "$window" 2>/dev/null || true
fi
echo "install check: ok ($prefix)"
