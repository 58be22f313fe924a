# Sourced by the scripts that need an X server: starts a private Xvfb with
# GLX on a free display number and stops it by its own process id.
#
#   . scripts/xvfb.sh
#   xvfb_start          # sets DISPLAY and XVFB_PID; adds xvfb_stop to the EXIT trap
#   xvfb_stop           # also run at exit
#   add_exit_trap CMD   # runs CMD at exit too, after what the trap already runs
#
# The trap is added to, never replaced: a script that sources this keeps
# its own clean-up. Bash runs the EXIT trap on SIGINT and SIGTERM as well.

add_exit_trap() {
    local current
    current=$(trap -p EXIT)
    current=${current#"trap -- '"}
    current=${current%"' EXIT"}
    current=${current//"'\\''"/"'"}
    trap -- "${current:+$current; }$1" EXIT
}

xvfb_start() {
    local number_file
    number_file=$(mktemp)
    # -displayfd makes the server choose a free display and report it; without
    # -noreset the server resets when its last client leaves. A session of
    # its own keeps a terminal's Ctrl-C from it: xvfb_stop ends it, after the
    # programs that draw on it.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 +extension GLX -noreset -nolisten tcp \
        3>"$number_file" >/dev/null 2>&1 9>&- &
    XVFB_PID=$!
    if [ -z "${XVFB_STOP_AT_EXIT:-}" ]; then
        add_exit_trap xvfb_stop
        XVFB_STOP_AT_EXIT=yes
    fi
    local waited=0
    until [ -s "$number_file" ]; do
        if ! kill -0 "$XVFB_PID" 2>/dev/null || [ $waited -ge 100 ]; then
            echo "xvfb: the X server did not start" >&2
            rm -f "$number_file"
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
    export DISPLAY
    rm -f "$number_file"
}

xvfb_stop() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}
