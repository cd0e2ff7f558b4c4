#!/usr/bin/env bash
# Makes apt able to fetch Debian's source packages: for every enabled "deb" entry of
# this machine's own apt sources that Debian's archive key signs, the same entry with
# "deb-src". Nothing is written when apt can already fetch sources.
set -euo pipefail

target=/etc/apt/sources.list.d/tavisto-deb-src.sources
if [[ -e $target ]] || grep -rqsE '^[[:space:]]*(deb-src|Types:.*deb-src)' \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
    exit 0
fi

entries=$(
    # deb822 files: copy each stanza whose Types has "deb", with Types set to deb-src.
    for file in /etc/apt/sources.list.d/*.sources; do
        [[ -f $file ]] || continue
        awk -v RS= -v ORS='\n\n' '
            /(^|\n)Types:[^\n]*deb([ \t]|\n|$)/ && !/(^|\n)Enabled:[ \t]*no/ &&
            (!/(^|\n)Signed-By:/ || /debian-archive-keyring/) {
                gsub(/(^|\n)#[^\n]*/, "")
                sub(/Types:[^\n]*/, "Types: deb-src")
                print
            }' "$file"
    done
    # One-line files: "deb [options] URI suite components" lines.
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f $file ]] || continue
        awk '$1 == "deb" && (!/signed-by=/ || /debian-archive-keyring/) {
                 sub(/^deb/, ""); uri = $0
                 n = split(uri, f, " "); i = 1
                 if (f[1] ~ /^\[/) { while (f[i] !~ /\]$/) i++; i++ }
                 printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", f[i], f[i + 1]
                 for (j = i + 2; j <= n; j++) printf " %s", f[j]
                 printf "\n\n"
             }' "$file"
    done
)
if [[ -z $entries ]]; then
    echo "no Debian entry in the apt sources to make a deb-src entry from" >&2
    exit 1
fi
printf '%s\n' "$entries" | sed '/^$/N;/^\n$/D' >"$target"
echo "apt can now fetch source packages ($target)"
apt-get update -qq
