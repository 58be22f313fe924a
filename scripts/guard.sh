# Sourced by the commands: one run per build folder, and Ctrl-C, SIGTERM or
# SIGHUP ending what the command started before it exits.
#
#   . scripts/guard.sh
#   guard_build_folder DIR   refuses, in one line, a second run in DIR
#   run_child CMD...         runs CMD in a process group of its own and waits
#
# On SIGINT, SIGTERM or SIGHUP the signal goes on to the whole group of the
# child that runs (a terminal's Ctrl-C reaches only this script's group,
# and a SIGTERM sent to this script alone would reach nothing else); the
# script waits for it to end and exits with 128 + the signal's number, which
# runs its EXIT trap. Commands that may ask on the terminal (sudo, apt) run
# in the script's own group instead, as they must read from it.

guard_child=""

guard_forward() {
    local number=$1
    trap '' INT TERM HUP
    if [ -n "$guard_child" ]; then
        kill -"$number" -- -"$guard_child" 2>/dev/null || true
        # A group that outlives the signal by 10 s is killed.
        local waited=0
        while kill -0 -- -"$guard_child" 2>/dev/null && [ $waited -lt 100 ]; do
            sleep 0.1
            waited=$((waited + 1))
        done
        kill -KILL -- -"$guard_child" 2>/dev/null || true
        wait "$guard_child" 2>/dev/null || true
    fi
    echo "${0##*/}: interrupted (signal $number); what it started is stopped" >&2
    exit $((128 + number))
}
trap 'guard_forward 2' INT
trap 'guard_forward 15' TERM
trap 'guard_forward 1' HUP

run_child() {
    local status=0
    set -m
    "$@" &
    guard_child=$!
    set +m
    wait "$guard_child" || status=$?
    guard_child=""
    return "$status"
}

guard_build_folder() {
    local folder=$1
    mkdir -p "$folder"
    # The lock lives as long as this script: descriptor 9 is closed at exit.
    exec 9>>"$folder/.run.lock"
    if ! flock -n 9; then
        echo "${0##*/}: another command is running in $folder/ (pid $(cat "$folder/.run.pid" 2>/dev/null || echo unknown));" \
            "wait for it to end, or use another build folder" >&2
        exit 1
    fi
    echo $$ >"$folder/.run.pid"
}
