#!/usr/bin/env bash
# Builds the bench_* programs (one per bench/*.cpp) and runs each natively
# and under Wine, printing their output. The native ones come from an
# optimised, unsanitised build in build/bench-native, so that their numbers
# compare with the Windows (Release) build; the Windows ones from the
# windows preset. Arguments are passed to every bench program.
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
targets=()
for source in "${sources[@]}"; do
    name=${source##*/}
    targets+=("bench_${name%.cpp}")
done

wine_work=
cleanup() {
    if [ -n "$wine_work" ]; then
        wine_prefix_remove "$wine_work/prefix"
        rm -rf "$wine_work"
    fi
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
        cmake --build "$native_dir" -j2 --target "${targets[@]}" || native_ok=
build "configuring the windows preset" "$logs/build-windows.log" cmake --preset windows &&
    build "building the Windows bench programs" "$logs/build-windows.log" \
        cmake --build --preset windows -j2 --target "${targets[@]}" || windows_ok=

if [ -n "$native_ok" ]; then
    for target in "${targets[@]}"; do
        echo "==== $target (native, Release)"
        "$native_dir/bin/$target" "$@" || { echo "bench: $target exited with status $?"; status=1; }
    done
else
    status=1
fi

if [ -n "$windows_ok" ]; then
    wine_env_export && wine_template_ensure "$logs/wine-template.log" || exit 1
    wine_work=$(mktemp -d /tmp/corvexa2-bench.XXXXXX)
    export WINEPREFIX=$wine_work/prefix
    wine_prefix_copy "$WINEPREFIX" && wineserver_start "$logs/wineserver.log" || exit 1
    for target in "${targets[@]}"; do
        echo "==== $target (Windows, under Wine)"
        "$WINE64" "$root/build/windows/bin/$target.exe" "$@" </dev/null | tr -d '\r'
        rc=${PIPESTATUS[0]}
        [ "$rc" -eq 0 ] || { echo "bench: $target.exe exited with status $rc"; status=1; }
    done
else
    status=1
fi
exit "$status"
