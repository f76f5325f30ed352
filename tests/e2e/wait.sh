# Waiting on a condition for the scripts that drive the real program.

# wait_until SECONDS CMD...: polls CMD every 50 ms.
wait_until() {
    local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
    shift
    until "$@"; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

xdo() { timeout 5 xdotool "$@"; }
