# Sourced after wine-env.sh and deps.sh: the program in Wine's virtual desktop on a
# private X display, where Wine draws the frame and caption itself.
QM_CAPTION='Change Registered Name Of Your Computer'

# qm_desktop_start EXE: starts EXE in a 480x240 virtual desktop and waits for its window.
qm_desktop_start() {
    qm_wine explorer /desktop=Quillmark,480x240 "$1" </dev/null >/dev/null 2>&1 &
    QM_DESKTOP_PID=$!
    QM_WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name "^$QM_CAPTION\$" | head -n 1)
    [ -n "$QM_WINDOW" ] || { echo "the window did not appear" >&2; return 1; }
    # Painting follows showing; wait until two captures a moment apart agree.
    local a b i
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
    local x y w h
    eval "$(xdotool getwindowgeometry --shell "$QM_WINDOW" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/QM_\1=/p')"
    x=$QM_X y=$QM_Y w=$QM_WIDTH h=$QM_HEIGHT
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
}

# qm_desktop_close: asks the program to close, as the close box does, and waits for it.
# taskkill must run in the same desktop, or it cannot see the window.
qm_desktop_close() {
    qm_wine explorer /desktop=Quillmark,480x240 taskkill /im Quillmark.exe >/dev/null 2>&1 || true
    local i
    for i in $(seq 50); do
        qm_program_running || return 0
        sleep 0.2
    done
    echo "the program did not close" >&2
    return 1
}

qm_program_running() {
    ps -eo stat=,args= | awk '$1 !~ /^Z/ && $2 ~ /Quillmark\.exe$/ { found = 1 } END { exit !found }'
}

# qm_desktop_screenshot EXE FILE: starts EXE on a private display, saves its window to FILE
# and closes it again.
qm_desktop_screenshot() {
    qm_private_display
    qm_desktop_start "$1"
    qm_desktop_shot "$2"
    qm_desktop_close
}
