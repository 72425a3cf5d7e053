# Sourced: building the presets (CMakePresets.json), and the second build of the release.
# qm_build PRESET...: configures and builds each preset quietly (errors still show).
qm_build() {
    local preset out
    for preset in "$@"; do
        qm_step "building $preset" "the compiler's or CMake's words are above; after a mended cause, run the command again"
        out="$({ cmake --preset "$preset" && cmake --build --preset "$preset"; } 2>&1)" || { echo "$out" >&2; return 1; }
    done
}

# qm_reproduce: both release executables and the download built again in QM_REPRODUCE, a copy
# of the sources in another folder. The copy is kept, and its files keep their times, so that,
# as in dist/'s own builds, only what changed is compiled again: the tests find it done at build
# time and only compare, instead of compiling beside the Wine tests.
QM_REPRODUCE="$QM_ROOT/build/reproduce"
qm_reproduce() {
    qm_step "making the second build in $QM_REPRODUCE" "the messages above say why; removing that folder makes it again from scratch"
    mkdir -p "$QM_REPRODUCE"
    tar --exclude=./build --exclude=./dist --exclude=./.git -cf - . | tar -C "$QM_REPRODUCE" -xf -
    SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}" \
        bash -c 'cd "$1" && . tools/wine/command.sh && qm_build win64 && tools/release.sh >/dev/null' \
        "the second build" "$QM_REPRODUCE"
}
