#!/usr/bin/env bash
# quen's build driver.
#
#   ./build.sh run     install what is missing, build, run the quen tool on samples/
#   ./build.sh test    install what is missing, build and test every preset:
#                      native (GCC and clang), asan, win32 (under Wine), and
#                      the fuzzers briefly
#   ./build.sh bench   build the benchmarks (Release) and print their ratios
#
# Everything is built under build/<preset>. In CI (CI=true) warnings are errors.
set -euo pipefail

cd "$(dirname "$0")"
ROOT=$(pwd)
JOBS=${JOBS:-2}

log() { printf '\n== %s\n' "$*"; }

# ---------------------------------------------------------------------------
# Dependencies: Debian packages, installed only when missing.
NATIVE_PACKAGES=(cmake make g++ pkg-config googletest libgtest-dev libsqlite3-dev libblkid-dev dosfstools e2fsprogs locales)
WIN32_PACKAGES=(g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine64)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
BENCH_PACKAGES=(libinih-dev)

missing_packages() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            printf '%s\n' "$package"
        fi
    done
}

apt_install() {
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
    log "installing: $*"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null
}

ensure_packages() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    if [ "${#missing[@]}" -gt 0 ]; then
        apt_install "${missing[@]}"
    fi
}

ensure_wine32() {
    # The 32-bit loader for the 32-bit quen.dll comes from the i386 architecture.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        local sudo=()
        if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
        "${sudo[@]}" dpkg --add-architecture i386
    fi
    ensure_packages wine32:i386
}

# ---------------------------------------------------------------------------
configure_and_build() {
    local preset=$1
    shift
    local extra=()
    if [ "${CI:-}" = true ]; then extra+=(-DQUEN_WARNINGS_AS_ERRORS=ON); fi
    log "configure $preset"
    cmake --preset "$preset" "${extra[@]}" "$@" >/dev/null
    log "build $preset"
    cmake --build --preset "$preset" -j "$JOBS"
}

run_tests() {
    local preset=$1
    log "test $preset"
    ctest --preset "$preset" -j "$JOBS"
}

# A persistent wineserver for the whole run saves its start-up in every test.
start_wine() {
    export WINEPREFIX="$ROOT/build/win32/wineprefix" WINEDEBUG=-all
    if [ ! -f "$WINEPREFIX/.quen-ready" ]; then
        log "creating the Wine prefix (once per build folder)"
        "$ROOT/build/win32/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
    fi
    wineserver -p 2>/dev/null || true
}

stop_wine() {
    WINEPREFIX="$ROOT/build/win32/wineprefix" wineserver -k 2>/dev/null || true
}

check_install() {
    # The installed package must be usable with find_package(quen CONFIG).
    local prefix="$ROOT/build/default/install-check"
    log "install and use the package"
    rm -rf "$prefix" "$ROOT/build/consumer"
    cmake --install build/default --prefix "$prefix" >/dev/null
    cmake -S tests/consumer -B build/consumer -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
    cmake --build build/consumer -j "$JOBS" >/dev/null
    build/consumer/consumer
    PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --exists quen
}

run_fuzzers() {
    local seconds=${FUZZ_SECONDS:-20}
    local fuzzer
    shopt -s nullglob
    for fuzzer in build/fuzz/bin/fuzz_*; do
        local name
        name=$(basename "$fuzzer")
        log "fuzz $name for ${seconds}s"
        local corpus="build/fuzz/corpus/$name"
        mkdir -p "$corpus"
        "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 "$corpus" "fuzz/corpus/${name#fuzz_}" \
            2>build/fuzz/$name.log || { tail -50 build/fuzz/$name.log; return 1; }
    done
    shopt -u nullglob
}

# ---------------------------------------------------------------------------
command_run() {
    ensure_packages "${NATIVE_PACKAGES[@]}"
    configure_and_build default -DBUILD_TESTING=OFF
    ./samples/demo.sh build/default/bin/quen
}

command_test() {
    ensure_packages "${NATIVE_PACKAGES[@]}" "${WIN32_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
    ensure_wine32

    configure_and_build default -DBUILD_TESTING=ON
    run_tests default
    check_install

    # clang, warnings as errors: it rejects overload ambiguities that GCC only
    # warns about. Its test preset leaves out the tool cases run above.
    configure_and_build clang -DQUEN_WARNINGS_AS_ERRORS=ON
    run_tests clang

    configure_and_build asan
    run_tests asan

    configure_and_build win32
    start_wine
    trap stop_wine EXIT
    run_tests win32
    stop_wine
    trap - EXIT

    configure_and_build fuzz
    run_fuzzers
    log "all tests passed"
}

command_bench() {
    ensure_packages "${NATIVE_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
    configure_and_build bench
    # Every benchmark runs, also after one fails; the summary lists each
    # ratio that misses its goal and each benchmark that failed.
    local benchmark failed=() output=build/bench/results.txt
    : >"$output"
    for benchmark in build/bench/bin/bench_*; do
        log "$(basename "$benchmark")"
        if ! "$benchmark" | tee -a "$output"; then
            failed+=("$(basename "$benchmark")")
        fi
    done
    log "summary"
    local met
    met=$(grep -c ' ok$' "$output" || true)
    printf '%s results meet their goal\n' "$met"
    if grep -q ' MISS$' "$output"; then
        printf 'missing their goal:\n'
        grep ' MISS$' "$output"
    fi
    if [ "${#failed[@]}" -gt 0 ]; then
        printf 'failed: %s\n' "${failed[*]}"
        return 1
    fi
}

case "${1:-}" in
    run) command_run ;;
    test) command_test ;;
    bench) command_bench ;;
    *)
        echo "usage: ./build.sh run|test|bench" >&2
        exit 2
        ;;
esac
