#!/usr/bin/env bash
# Builds the bench_* programs (one per bench/*.cpp) and runs each natively
# and under Wine, printing their output. The native ones come from an
# optimised, unsanitised build in build/bench-native, so that their numbers
# compare with the Windows (Release) build; the Windows ones from the
# windows preset. Arguments are passed to every bench program.
#
# A bench program that needs an instrument names the simulator it wants in
# its opening comment, as a line "hvxsim ARGS..." (for example
# "//   hvxsim --address 127.0.0.1 --burst 'burst?=2000x70'"). This script
# then starts that simulator (optimised build) on CORVEXA2_BENCH_ADDR
# (default 127.0.0.60) in place of the address given there, and passes the
# address as the program's first argument, before the script's arguments.
# A program that names several simulators (one "hvxsim" line each) gets
# one simulator per line, on consecutive addresses from CORVEXA2_BENCH_ADDR
# up (127.0.0.60, 127.0.0.61, ...), and their addresses as its first
# arguments, in the order of the lines.
#
# The command-line tool is built beside the bench programs in both builds,
# for those that time it from its start to its exit.
set -uo pipefail

source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-env.sh"
root=$CORVEXA2_ROOT
cd "$root" || exit 1
logs=$root/build/bench-logs
native_dir=$root/build/bench-native
mkdir -p "$logs"

shopt -s nullglob
sources=(bench/*.cpp)
shopt -u nullglob
if [ ${#sources[@]} -eq 0 ]; then
    echo "bench: no bench programs yet (bench/*.cpp)"
    exit 0
fi
bench_args=("$@")
targets=()
for source in "${sources[@]}"; do
    name=${source##*/}
    targets+=("bench_${name%.cpp}")
done

bench_address=${CORVEXA2_BENCH_ADDR:-127.0.0.60}
export CORVEXA2_HVXSIM=$native_dir/bin/hvxsim

# The "hvxsim" lines of a bench source (their arguments), one per line.
simulator_lines() {
    sed -n 's|^//[[:space:]]*hvxsim[[:space:]]\+||p' "$1"
}

# The address of the index-th simulator (0 first): CORVEXA2_BENCH_ADDR with
# index added to its last number.
simulator_address() {
    local base=${bench_address%.*} last=${bench_address##*.}
    echo "$base.$((last + $1))"
}

# The simulator arguments of one "hvxsim" line, one per line (quotes are
# honoured, nothing is executed), its address replaced by address.
simulator_arguments() {
    local line=$1 address=$2
    xargs -n 1 printf '%s\n' <<<"$line" | awk -v a="$address" '
        skip { skip = 0; next }
        $0 == "--address" { skip = 1; next }
        { print }
        END { print "--address"; print a }'
}

sim_pids=()
# Stops every simulator run_bench started (and one still starting).
stop_simulators() {
    local pid
    sim_stop
    for pid in "${sim_pids[@]}"; do
        CORVEXA2_SIM_PID=$pid
        sim_stop
    done
    sim_pids=()
}

# Runs one bench program (native or under Wine) with its simulators, if any.
run_bench() {
    local source=$1; shift
    local lines=() addresses=() sim_args=() line address index=0 rc
    mapfile -t lines < <(simulator_lines "$source")
    for line in "${lines[@]}"; do
        address=$(simulator_address "$index")
        mapfile -t sim_args < <(simulator_arguments "$line" "$address")
        if ! sim_start "$logs/sim$index" "${sim_args[@]}"; then
            stop_simulators
            return 1
        fi
        sim_pids+=("$CORVEXA2_SIM_PID")
        addresses+=("$address")
        index=$((index + 1))
    done
    "$@" "${addresses[@]}" "${bench_args[@]}" </dev/null | tr -d '\r'
    rc=${PIPESTATUS[0]}
    stop_simulators
    return "$rc"
}

wine_work=
cleanup() {
    if [ -n "$wine_work" ]; then
        wine_prefix_remove "$wine_work/prefix"
        rm -rf "$wine_work"
    fi
    stop_simulators
}
trap cleanup EXIT
trap 'cleanup; exit 130' INT TERM

status=0
build() {
    local what=$1 log=$2; shift 2
    if ! "$@" >>"$log" 2>&1; then
        echo "bench: $what failed; see $log" >&2
        grep -E -A3 'error:|undefined reference|CMake Error' "$log" | head -n 40 >&2
        return 1
    fi
}

bash scripts/setup.sh || exit 1
: >"$logs/build-native.log"
: >"$logs/build-windows.log"
native_ok=yes windows_ok=yes
build "configuring the native bench build" "$logs/build-native.log" \
    cmake -S "$root" -B "$native_dir" -DCMAKE_BUILD_TYPE=Release -DCORVEXA2_SANITIZE=OFF -DCORVEXA2_TESTS=OFF &&
    build "building the native bench programs" "$logs/build-native.log" \
        cmake --build "$native_dir" -j2 --target hvxsim corvexa2-cli "${targets[@]}" || native_ok=
build "configuring the windows preset" "$logs/build-windows.log" cmake --preset windows &&
    build "building the Windows bench programs" "$logs/build-windows.log" \
        cmake --build --preset windows -j2 --target corvexa2-cli "${targets[@]}" || windows_ok=

if [ -n "$native_ok" ]; then
    for source in "${sources[@]}"; do
        target=bench_$(basename "$source" .cpp)
        echo "==== $target (native, Release)"
        run_bench "$source" "$native_dir/bin/$target" || { echo "bench: $target failed"; status=1; }
    done
else
    status=1
fi

if [ -n "$windows_ok" ]; then
    wine_env_export && wine_template_ensure "$logs/wine-template.log" || exit 1
    wine_work=$(mktemp -d /tmp/corvexa2-bench.XXXXXX)
    export WINEPREFIX=$wine_work/prefix
    wine_prefix_copy "$WINEPREFIX" && wineserver_start "$logs/wineserver.log" || exit 1
    for source in "${sources[@]}"; do
        target=bench_$(basename "$source" .cpp)
        echo "==== $target (Windows, under Wine)"
        run_bench "$source" "$WINE64" "$root/build/windows/bin/$target.exe" ||
            { echo "bench: $target.exe failed"; status=1; }
    done
else
    status=1
fi
exit "$status"
