#!/usr/bin/env bash
# Builds and tests everything from a clean clone:
#   1. scripts/setup.sh (packages, SQLite amalgamation)
#   2. configure and build the native and Windows presets
#   3. the native tests (ctest)
#   4. the ThreadSanitizer tests: the tsan preset builds only the unit-test
#      program, holding only the tests of code that runs threads of its own
#      (sweep workers, real-time sweeps, monitor thread, progress reporting,
#      timers), and runs it with address randomisation off where the kernel
#      allows (setarch -R: under some kernels' randomisation ThreadSanitizer
#      cannot map its shadow memory)
#   5. the Windows tests under Wine: a fresh prefix copy booted to the end
#      before any test starts, Xvfb, our own wineserver, the test lists
#      taken once, and the native simulator on 127.0.0.9 (or the next free
#      loopback address) and on COM5
#   6. the end-to-end scripts (tests/e2e/run-e2e.sh)
# Logs of every stage go to build/test-logs/. The last line printed is
#   N passed, N failed, N skipped
# counting the tests of every build and the end-to-end scripts (a stage that
# breaks down, such as a failed build, counts as one failure). The exit
# status is 0 only when nothing failed and at least one test passed.
#
# Settings: CORVEXA2_WINDOWS_JOBS (parallel Wine tests outside the win32
# label, default 2), CORVEXA2_DISPLAY_FIRST/LAST (Xvfb displays, default 40..49),
# CORVEXA2_STAGES (the stages to run, default "setup build native tsan
# windows e2e"; "windows e2e" reruns those on the trees already built; "tsan"
# configures and builds its own tree, build/tsan, whenever it runs).
set -uo pipefail

source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-env.sh"
root=$CORVEXA2_ROOT
cd "$root" || exit 1
logs=$root/build/test-logs
display_first=${CORVEXA2_DISPLAY_FIRST:-40}
display_last=${CORVEXA2_DISPLAY_LAST:-49}
windows_jobs=${CORVEXA2_WINDOWS_JOBS:-2}
rm -rf "$logs"
mkdir -p "$logs"

passed=0 failed=0 skipped=0
timings=()
wine_work=

cleanup() {
    sim_stop
    if [ -n "$wine_work" ]; then
        wine_prefix_remove "$wine_work/prefix"
        rm -rf "$wine_work"
        wine_work=
    fi
    xvfb_stop
}
trap 'cleanup; echo "interrupted"; exit 130' INT TERM
trap cleanup EXIT

stage_started=0
stage_begin() {
    stage_started=$SECONDS
    echo "== $1"
}
stage_end() {
    local took=$((SECONDS - stage_started))
    timings+=("$(printf '%-28s %5d s' "$1" "$took")")
    echo "   $1: $2 (${took} s)"
}

add_failure() {
    failed=$((failed + 1))
    echo "   FAILED: $1"
}

# The compiler's complaints from a build log, or its tail.
show_build_errors() {
    local log=$1
    echo "---- errors from $log"
    if grep -q -E 'error:|Error [0-9]|undefined reference|CMake Error' "$log"; then
        grep -E -A3 'error:|undefined reference|CMake Error' "$log" | head -n 80
        grep -E 'Error [0-9]' "$log" | head -n 20
    else
        tail -n 40 "$log"
    fi
    echo "----"
}

# Adds a ctest log's results to the counts and prints the output of the
# tests that failed. $2 is ctest's exit status: failing without a single
# failed test (discovery or set-up broke) counts as one failure.
count_ctest() {
    local log=$1 rc=$2 what=$3 p f s
    read -r p f s < <(tr -d '\r' <"$log" | awk '
        /^ *[0-9]+\/[0-9]+ +Test +#[0-9]+:/ {
            if ($0 ~ /[ .]Passed +[0-9.]+ sec/) p++
            else if ($0 ~ /\*\*\*Skipped|\(Disabled\)/) s++
            else f++
        }
        END { print p + 0, f + 0, s + 0 }')
    passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
    echo "   $what: $p passed, $f failed, $s skipped"
    if [ "$f" -gt 0 ]; then
        echo "---- output of the failed $what tests (all of it in $log)"
        tr -d '\r' <"$log" | awk '
            /^ *[0-9]+\/[0-9]+ +Test +#[0-9]+:/ {
                showing = ($0 !~ /[ .]Passed +[0-9.]+ sec/ && $0 !~ /\*\*\*Skipped|\(Disabled\)/)
                lines = 0
                if (showing && total < 600) print
                next
            }
            /^ +Start +[0-9]+: / { showing = 0; next }
            /^The following tests FAILED:/ || /^[0-9]+% tests passed/ { showing = 0 }
            showing && lines < 60 && total < 600 { print "    " $0; lines++; total++ }'
        sed -n '/^The following tests FAILED:/,$p' <"$log" | tr -d '\r'
        echo "----"
    elif [ "$rc" -ne 0 ]; then
        add_failure "$what: ctest exited with status $rc without a failed test"
        tail -n 40 "$log"
    fi
}

build_preset() {
    local preset=$1
    stage_begin "configure and build: $preset"
    if ! cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1; then
        add_failure "configuring $preset"
        show_build_errors "$logs/configure-$preset.log"
        stage_end "build $preset" "configure failed"
        return 2
    fi
    # -k: one broken file does not keep the rest of the tree from building.
    if ! cmake --build --preset "$preset" -j2 -- -k >"$logs/build-$preset.log" 2>&1; then
        add_failure "building $preset"
        show_build_errors "$logs/build-$preset.log"
        stage_end "build $preset" "build failed"
        return 1
    fi
    stage_end "build $preset" "ok"
}

# Runs a command with address randomisation off when this machine lets us
# switch it off, as it is otherwise.
without_aslr() {
    local arch
    arch=$(uname -m)
    if command -v setarch >/dev/null 2>&1 && setarch "$arch" -R true 2>/dev/null; then
        setarch "$arch" -R "$@"
    else
        "$@"
    fi
}

run_tsan_tests() {
    stage_begin "ThreadSanitizer tests"
    if ! cmake --preset tsan >"$logs/configure-tsan.log" 2>&1; then
        add_failure "configuring tsan"
        show_build_errors "$logs/configure-tsan.log"
        stage_end "ThreadSanitizer tests" "configure failed"
        return
    fi
    # The preset builds the unit-test program alone (and the simulator it starts).
    if ! cmake --build --preset tsan -j2 >"$logs/build-tsan.log" 2>&1; then
        add_failure "building tsan"
        show_build_errors "$logs/build-tsan.log"
        stage_end "ThreadSanitizer tests" "build failed"
        return
    fi
    # A race report makes the test's process exit with status 66: it fails.
    TSAN_OPTIONS="second_deadlock_stack=1 ${TSAN_OPTIONS:-}" without_aslr \
        ctest --test-dir build/tsan -j2 --output-on-failure >"$logs/ctest-tsan.log" 2>&1 </dev/null
    count_ctest "$logs/ctest-tsan.log" "$?" "ThreadSanitizer"
    stage_end "ThreadSanitizer tests" "done"
}

run_windows_tests() {
    stage_begin "Windows tests under Wine"
    local rc display_before=${DISPLAY:-}
    wine_work=$(mktemp -d /tmp/corvexa2-wintests.XXXXXX)
    export WINEPREFIX=$wine_work/prefix
    if wine_template_ensure "$logs/wine-template.log" &&
        wine_prefix_copy "$WINEPREFIX" &&
        xvfb_start "$display_first" "$display_last" "$logs/xvfb.log" &&
        wineserver_start "$logs/wineserver.log"; then
        echo "   Wine prefix booted ($((SECONDS - stage_started)) s)"
        windows_sim_start "$WINEPREFIX" "$logs" ||
            add_failure "starting the simulator for the Windows tests"
        # ctest lists each test program's tests by running it once (PRE_TEST
        # discovery). That happens here, alone, so that it never overlaps a
        # test and a program that cannot list its tests is reported as such.
        if ! ctest --test-dir build/windows -N >"$logs/ctest-windows-list.log" 2>&1 </dev/null; then
            add_failure "listing the Windows tests (see $logs/ctest-windows-list.log)"
            tail -n 20 "$logs/ctest-windows-list.log"
        fi
        # The win32 tests share the one simulator (COM5 and 127.0.0.9) and
        # drive windows, so they run one at a time; the rest run side by side.
        ctest --test-dir build/windows -LE win32 -j"$windows_jobs" --output-on-failure \
            >"$logs/ctest-windows.log" 2>&1 </dev/null
        rc=$?
        count_ctest "$logs/ctest-windows.log" "$rc" "Windows"
        ctest --test-dir build/windows -L win32 -j1 --output-on-failure \
            >"$logs/ctest-windows-win32.log" 2>&1 </dev/null
        rc=$?
        count_ctest "$logs/ctest-windows-win32.log" "$rc" "Windows win32"
        stage_end "Windows tests" "done"
    else
        add_failure "setting up Wine and Xvfb for the Windows tests (see $logs)"
        stage_end "Windows tests" "not run"
    fi
    cleanup
    unset WINEPREFIX CORVEXA2_TEST_COM CORVEXA2_TEST_SIM_TCP
    if [ -n "$display_before" ]; then export DISPLAY=$display_before; else unset DISPLAY; fi
}

run_e2e() {
    stage_begin "end-to-end tests"
    local rc line p f s
    CORVEXA2_E2E_LOGS=$logs/e2e bash tests/e2e/run-e2e.sh </dev/null 2>&1 | tee "$logs/e2e.log" | sed 's/^/   /'
    rc=${PIPESTATUS[0]}
    line=$(tail -n 1 "$logs/e2e.log")
    if [[ $line =~ ^e2e:\ ([0-9]+)\ passed,\ ([0-9]+)\ failed,\ ([0-9]+)\ skipped$ ]]; then
        p=${BASH_REMATCH[1]} f=${BASH_REMATCH[2]} s=${BASH_REMATCH[3]}
        passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
        [ "$rc" -ne 0 ] && [ "$f" -eq 0 ] && add_failure "the end-to-end runner exited with status $rc"
    else
        add_failure "the end-to-end runner gave no result line (status $rc)"
    fi
    stage_end "end-to-end tests" "done"
}

stages=" ${CORVEXA2_STAGES:-setup build native tsan windows e2e} "
stage_chosen() { [[ $stages == *" $1 "* ]]; }
started_all=$SECONDS

if stage_chosen setup; then
    stage_begin "set-up"
    if ! bash scripts/setup.sh </dev/null >"$logs/setup.log" 2>&1; then
        cat "$logs/setup.log"
        stage_end "set-up" "failed"
        echo "0 passed, 1 failed"
        exit 1
    fi
    stage_end "set-up" "ok"
fi
wine_env_export || true

# A build that fails part-way still runs the tests of whatever did build
# (the failure is already counted); an unconfigured tree has none to run.
native_built=0 windows_built=0
if stage_chosen build; then
    build_preset native
    native_built=$?
    build_preset windows
    windows_built=$?
fi

if stage_chosen native && [ "$native_built" -ne 2 ]; then
    stage_begin "native tests"
    ctest --test-dir build/native -j2 --output-on-failure >"$logs/ctest-native.log" 2>&1 </dev/null
    count_ctest "$logs/ctest-native.log" "$?" "native"
    stage_end "native tests" "done"
fi
stage_chosen tsan && run_tsan_tests
stage_chosen windows && [ "$windows_built" -ne 2 ] && run_windows_tests
stage_chosen e2e && run_e2e

echo
echo "Stage times (logs in build/test-logs/):"
printf '  %s\n' "${timings[@]}"
printf '  %-28s %5d s\n' "total" "$((SECONDS - started_all))"
echo
if [ "$skipped" -gt 0 ]; then
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
