#!/usr/bin/env bash
# Runs examples/ansible/provision.yml against localhost over a local connection, with
# virtual displays as the host's ports: once with two healthy displays (the play
# succeeds and the fetched report says so), once with a third that does not answer
# (the host fails, and its report names the silent port).
#   run-playbook.sh TAVISTO_CLI TAVISTO_SIM PLAYBOOK_FOLDER
set -euo pipefail
cli=$1 sim=$2 playbook_folder=$3

if ! command -v ansible-playbook >/dev/null; then
    echo "ansible-playbook is not installed: run scripts/install-deps.sh (Debian ansible-core)" >&2
    exit 1
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a virtual display; its device path goes into the variable named $1.
start_display() {
    local name=$1
    shift
    "$sim" --unpaced "$@" >"$work/$name.path" 2>"$work/$name.log" &
    pids+=($!)
    for _ in $(seq 100); do
        [[ -s $work/$name.path ]] && break
        sleep 0.1
    done
    printf -v "$name" '%s' "$(head -n1 "$work/$name.path")"
    [[ -n ${!name} ]] || { echo "tavisto-sim did not start: $(cat "$work/$name.log")" >&2; exit 1; }
}

start_display first --model KT350-MK
start_display second --model KT350--MKA --baud 19200
start_display silent --model KT750-MK --silent

cat >"$work/inventory.ini" <<INVENTORY
[pos]
localhost ansible_connection=local ansible_python_interpreter=auto_silent
INVENTORY

run_play() {
    local ports=$1 reports=$2
    ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_HOME="$work/ansible-home" \
        ANSIBLE_LOCAL_TEMP="$work/ansible-local" \
        ANSIBLE_REMOTE_TEMP="$work/ansible-remote" \
        ansible-playbook -i "$work/inventory.ini" "$playbook_folder/provision.yml" \
        -e "{\"tavisto_cli\": \"$cli\", \"tavisto_port_args\": [\"--ports\", \"$ports\"],
             \"tavisto_remote_dir\": \"$work/remote\", \"tavisto_reports\": \"$reports\"}"
}

# Checks a fetched report: the ports in order and each one's result.
check_report() {
    python3 - "$@" <<'PYTHON'
import json, sys
report = json.load(open(sys.argv[1]))
expected = list(zip(sys.argv[2::2], sys.argv[3::2]))
got = [(port["port"], port["result"]) for port in report["ports"]]
if got != expected:
    sys.exit(f"report {sys.argv[1]}: ports {got}, expected {expected}")
for port in report["ports"]:
    steps = [step["step"] for step in port["steps"]]
    if port["result"] == "succeeded" and steps != ["identify", "settings", "play"]:
        sys.exit(f"report {sys.argv[1]}: steps {steps} for {port['port']}")
    if port["result"] == "failed" and not port["error"]:
        sys.exit(f"report {sys.argv[1]}: no error for the failed {port['port']}")
PYTHON
}

echo "== two healthy displays: the play succeeds"
run_play "$first,$second" "$work/good"
check_report "$work/good/localhost.json" "$first" succeeded "$second" succeeded

echo "== a silent third display: the host fails"
if run_play "$first,$silent" "$work/bad" >"$work/bad.log" 2>&1; then
    cat "$work/bad.log"
    echo "the play succeeded although a display did not answer" >&2
    exit 1
fi
cat "$work/bad.log"
grep -q "Not provisioned: $silent" "$work/bad.log" || { echo "the failure does not name $silent" >&2; exit 1; }
check_report "$work/bad/localhost.json" "$first" succeeded "$silent" failed
echo "ansible playbook: OK"
