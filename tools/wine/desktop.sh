# Sourced after command.sh and wine-env.sh: the program in Wine's virtual desktop on a
# private X display, where Wine draws the frame and caption itself.
QM_CAPTION='Change Registered Name Of Your Computer'

# qm_desktop_start EXE: starts EXE in a 480x240 virtual desktop and waits for its window; Wine's
# own messages go to build/run/wine.log. A window that does not come is reported with what is
# known of why: the program ended, or it is still starting after a minute.
qm_desktop_start() {
    local log="$QM_ROOT/build/run/wine.log" i
    qm_step "waiting for Quillmark's window" "the lines above say why"
    qm_wine explorer /desktop=Quillmark,480x240 "$1" </dev/null >/dev/null 2>"$log" &
    QM_WINDOW=
    for i in $(seq 300); do
        QM_WINDOW=$(xdotool search --onlyvisible --name "^$QM_CAPTION\$" 2>/dev/null | head -n 1) || true
        [ -z "$QM_WINDOW" ] || break
        # A program that never started, or ended at once, is given 20 s (QEMU on a busy machine).
        [ "$i" -lt 100 ] || qm_program_running || break
        sleep 0.2
    done
    if [ -z "$QM_WINDOW" ]; then
        if qm_program_running; then echo "the window did not appear within a minute" >&2
        else echo "the program ended, or never started, before its window appeared" >&2; fi
        qm_why_not_started "$1" "$log"
        return 1
    fi
    # Painting follows showing; wait until two captures a moment apart agree.
    local a b
    a=$(import -window root rgb:- | md5sum)
    for i in $(seq 50); do
        sleep 0.2
        b=$(import -window root rgb:- | md5sum)
        [ "$a" = "$b" ] && break
        a=$b
    done
}

# qm_desktop_shot FILE: the window with its frame, as a PNG.
qm_desktop_shot() {
    local X Y WIDTH HEIGHT
    qm_step "saving the window to $1" "xdotool's or ImageMagick's words are above"
    eval "$(xdotool getwindowgeometry --shell "$QM_WINDOW")"
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$1"
}

# qm_desktop_close: asks the program to close, as the close box does, and waits for it.
# taskkill must run in the same desktop, or it cannot see the window.
qm_desktop_close() {
    qm_step "closing Quillmark" "the line above says why"
    qm_wine explorer /desktop=Quillmark,480x240 taskkill /im Quillmark.exe >/dev/null 2>&1 || true
    for _ in $(seq 50); do
        qm_program_running || return 0
        sleep 0.2
    done
    echo "the program did not close" >&2
    return 1
}

# The program itself, natively or under QEMU (where Wine's 32-bit loader comes first).
qm_program_running() {
    ps -eo stat=,args= | awk '$1 !~ /^Z/ && ($2 ~ /Quillmark\.exe$/ || / \/usr\/lib\/wine\/wine [^ ]*Quillmark\.exe/) { found = 1 }
        END { exit !found }'
}

# qm_desktop_screenshot EXE FILE: starts EXE on a private display, saves its window to FILE
# and closes it again.
qm_desktop_screenshot() {
    qm_private_display
    qm_desktop_start "$1"
    qm_desktop_shot "$2"
    qm_desktop_close
}
