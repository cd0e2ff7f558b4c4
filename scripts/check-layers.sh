#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The layers,
# lowest first: link, files, settings, protocol, pictures, app (with app/ui), cli.
# The resource generators (resources/) and the virtual display (sim/) stand beside the
# product and may use link to pictures; src/pictures/ui may use pictures and below.
# The resource registry (resources/) belongs to the front ends: app and cli. Nothing
# under src/ includes the tests, and only the window (its --simulate) the virtual display.
# The linker catches calls that reach upward (see tavisto_layer in CMakeLists.txt);
# this catches the includes, which compile and link fine when only inline code or
# types are used.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(link files settings protocol pictures app cli)

declare -A rank
for i in "${!layers[@]}"; do
    rank[${layers[$i]}]=$i
done

# What the files under FOLDER may include: the layers up to and including the
# highest one given, plus any extra top folders.
allowed_for() {
    local folder=$1
    case $folder in
    src/pictures/ui) echo "pictures" ;;
    src/app/ui) echo "app resources sim" ;; # --simulate starts a virtual display
    src/cli) echo "cli resources" ;;
    src/*) echo "${folder#src/}" ;;
    resources) echo "pictures resources" ;;
    sim) echo "pictures sim resources" ;; # tavisto-sim draws with the built-in fonts
    esac
}

failures=0
check_folder() {
    local folder=$1 limit extras allowed top top_rank file line included skip=()
    read -r limit extras <<<"$(allowed_for "$folder")"
    allowed=${rank[$limit]}
    # src/pictures/ui and src/app/ui are checked on their own.
    [[ -d $folder/ui ]] && skip=(--exclude-dir=ui)
    while IFS=: read -r file line included; do
        top=${included%%/*}
        [[ $top == "$included" ]] && continue # a header beside the file
        top_rank=${rank[$top]:-}
        if [[ -n $top_rank ]]; then
            ((top_rank <= allowed)) && continue
        elif [[ " $extras " == *" $top "* ]]; then
            continue
        elif [[ $top != sim && $top != tests && $top != resources ]]; then
            continue # not one of the project's folders
        fi
        echo "$file:$line: includes \"$included\", above what $folder may use" >&2
        failures=$((failures + 1))
    done < <(grep -rnE --include='*.h' --include='*.cpp' "${skip[@]}" '^\s*#\s*include\s*"' \
        "$folder" |
        sed -E 's/^([^:]+):([0-9]+):.*#\s*include\s*"([^"]+)".*/\1:\2:\3/')
}

for folder in src/link src/files src/settings src/protocol src/pictures src/pictures/ui \
    src/app src/app/ui src/cli resources sim; do
    check_folder "$folder"
done

# The virtual display reads the wire its own way so that a fault on either side shows up:
# of the host's protocol it may include the tables of facts only, never the frame
# builders, the frame executor, the transfer frames or the CRC.
while IFS=: read -r file line included; do
    case $included in
    protocol/DownloadTable.h | protocol/ModelTable.h | protocol/PictureSlots.h) ;;
    *)
        echo "$file:$line: includes \"$included\"; the virtual display keeps its own frames and CRC" >&2
        failures=$((failures + 1))
        ;;
    esac
done < <(grep -rnE --include='*.h' --include='*.cpp' '^\s*#\s*include\s*"protocol/' sim |
    sed -E 's/^([^:]+):([0-9]+):.*#\s*include\s*"([^"]+)".*/\1:\2:\3/')

if ((failures)); then
    echo "check-layers: $failures include(s) reach a layer above their own" >&2
    exit 1
fi
echo "check-layers: every include stays at or below its layer"
