# Sourced: a private X server, for the tests and for a run without a display.
# qm_private_display: starts Xvfb on a free display and exports DISPLAY; QM_XVFB_PID is its pid.
# The server picks the number itself (-displayfd), so two runs started at once never share one.
# It and the prefix's Wine processes end with the command (and with them the mounts they hold).
qm_private_display() {
    qm_step "starting a private X server (Xvfb)" "check that Xvfb runs here: Xvfb -displayfd 1"
    local number
    number="$(mktemp)"
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$number" >/dev/null 2>&1 &
    QM_XVFB_PID=$!
    qm_at_exit "qm_wineserver -k; kill $QM_XVFB_PID"
    for _ in $(seq 100); do [ ! -s "$number" ] || break; sleep 0.1; done
    DISPLAY=":$(head -n 1 "$number")" && rm -f "$number"
    [ "$DISPLAY" != : ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY
}
