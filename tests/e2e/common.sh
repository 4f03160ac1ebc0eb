# Sourced by the end-to-end runs; `fail DESCRIPTION` is the script's own.

# Runs the command until it succeeds; fails with the description after the
# given number of seconds.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < deadline)) || fail "timed out waiting for $what"
        sleep 0.1
    done
}

# Removes the work folder $WORK after a success and keeps it for diagnosis
# after a failure.
settle_work_folder() {
    if (($1 == 0)); then
        rm -rf "$WORK"
    else
        echo "e2e: work folder kept for diagnosis: $WORK" >&2
    fi
}

program_ended() { ! kill -0 "$APP_PID" 2>/dev/null; }

# Closes window $WIN the way a window manager's close button does, so the
# program runs its normal exit and writes its settings; then expects exit 0
# from $APP_PID within the given seconds.
close_program() {
    python3 "$(dirname "${BASH_SOURCE[0]}")/close_window.py" "$WIN" ||
        fail "could not send the close request"
    wait_until "$1" "the program to end" program_ended
    local status=0
    wait "$APP_PID" || status=$?
    APP_PID=""
    ((status == 0)) || fail "the program ended with exit code $status"
}
