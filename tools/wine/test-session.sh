# Sourced: what the tests and the benchmark stand on, and one CTest run over both test builds.
# qm_test_session: the four builds, the download, the second build of the release, and the test
# prefix with its shared desktop on a private display and one Wine server for the whole command.
qm_test_session() {
    qm_build win32 win64 test32 test64
    qm_step "making the download (tools/release.sh)" "its own line above says why"
    tools/release.sh >/dev/null
    qm_reproduce
    export QM_PREFIX="$QM_ROOT/build/wineprefix"
    . "$QM_ROOT/tools/wine/wine-env.sh"
    qm_private_display
    qm_stage
    qm_wineserver -k >>"$QM_WINE_LOG" 2>&1 || true  # one that an interrupted run left behind
    qm_prefix_init desktop
    qm_wineserver -p >>"$QM_WINE_LOG" 2>&1 || true
}

# qm_ctest [CTEST-ARGUMENTS]: one CTest run over both test builds, so that one summary closes it.
qm_ctest() {
    mkdir -p build/tests
    printf 'subdirs("%s")\n' "$QM_ROOT/build/test64" "$QM_ROOT/build/test32" \
        >build/tests/CTestTestfile.cmake
    qm_step "running the tests" "the failed tests' output is above; a failed step of a test that drives the program leaves a screenshot in build/test*/tests/<test>/ (docs/testing.md)"
    # In the background, so that a stop (Ctrl+C, a time limit) ends it at once, with its Wine.
    ctest --test-dir build/tests --output-on-failure --no-tests=error --timeout 120 --parallel 2 "$@" &
    wait $!
}
