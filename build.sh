#!/usr/bin/env bash
# quen's build driver.
#
#   ./build.sh run     install what is missing, build, run the quen tool on samples/
#   ./build.sh test    install what is missing, build and test every preset:
#                      native (GCC and clang), asan, win32 (under Wine), and
#                      the fuzzers briefly
#   ./build.sh bench   build the benchmarks (Release) and print their ratios
#   ./build.sh package build the Debian package (build/default/packages) and the
#                      Windows zip (build/win32/packages) with CPack
#   ./build.sh docs    the API reference from the headers (build/default/docs/html)
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
PACKAGE_PACKAGES=(dpkg-dev file lintian)
DOCS_PACKAGES=(doxygen)

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
    fi
    wineserver -p 2>/dev/null || true
    # Wine's own services start with the first program of the server and
    # live as long as it does: start them here, not inside ctest, whose
    # output pipe they would otherwise hold open, so that it never ends.
    "$ROOT/build/win32/wine-run.sh" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_wine() {
    WINEPREFIX="$ROOT/build/win32/wineprefix" wineserver -k 2>/dev/null || true
}

# ---------------------------------------------------------------------------
# Checks of what users get: the installed tree, the packages, quen inside
# another project, the static library. Each builds tests/consumer (a host
# that sets no C++ standard and checks the version macros, the message table,
# the parser and the common controls) against quen from outside quen's tree.
CHECKS="$ROOT/build/checks"

# consumer_cmake DIR [cmake arguments...]: configure, build and run it.
consumer_cmake() {
    local dir=$1
    shift
    rm -rf "$dir"
    cmake -S tests/consumer -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS" >/dev/null
    "$dir/consumer"
}

# consumer_pkgconfig PKGCONFIG-DIR DIR: built by hand from quen.pc, with the
# library's folder as its run path.
consumer_pkgconfig() {
    local pcdir=$1 dir=$2
    local flags version libdir
    flags=$(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs quen)
    version=$(PKG_CONFIG_PATH="$pcdir" pkg-config --modversion quen)
    libdir=$(PKG_CONFIG_PATH="$pcdir" pkg-config --variable=libdir quen)
    rm -rf "$dir"
    mkdir -p "$dir"
    # shellcheck disable=SC2086 # the flags are words
    g++ -std=c++17 -o "$dir/consumer" tests/consumer/main.cpp -DQUEN_EXPECTED_VERSION="\"$version\"" \
        $flags -Wl,-rpath,"$libdir"
    "$dir/consumer"
}

check_install() {
    # Installed to one prefix and then moved: the tool and both kinds of
    # consumers must work from wherever the tree lands.
    local staged="$CHECKS/install-staged" prefix="$CHECKS/install"
    log "install to a scratch prefix, move it, use it"
    rm -rf "$staged" "$prefix"
    cmake --install build/default --prefix "$staged" >/dev/null
    mv "$staged" "$prefix"
    env -u LD_LIBRARY_PATH "$prefix/bin/quen" messages >/dev/null
    consumer_cmake "$CHECKS/consumer-gcc" -DCMAKE_PREFIX_PATH="$prefix"
    # clang 14 compiles C++14 unless told otherwise: quen's target tells it.
    consumer_cmake "$CHECKS/consumer-clang" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER=clang++
    consumer_pkgconfig "$prefix/lib/pkgconfig" "$CHECKS/consumer-pkgconfig"
}

check_subdirectory_host() {
    # A host that adds quen's tree with add_subdirectory() and asks for a
    # static library: it gets the library only (its CMakeLists.txt fails on
    # any other target of quen's) and installs nothing of quen's.
    local dir="$CHECKS/host" extra=()
    if [ "${CI:-}" = true ]; then extra+=(-DQUEN_WARNINGS_AS_ERRORS=ON); fi
    log "a host with add_subdirectory(quen), static library"
    rm -rf "$dir" "$CHECKS/host-install" "$CHECKS/static"
    cmake -S tests/consumer/subdirectory -B "$dir" -DQUEN_SOURCE_DIR="$ROOT" -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
    cmake --build "$dir" -j "$JOBS" >/dev/null
    "$dir/host"
    cmake --install "$dir" --prefix "$CHECKS/host-install" >/dev/null
    local installed
    installed=$(cd "$CHECKS/host-install" && find . -type f)
    if [ "$installed" != ./bin/host ]; then
        echo "the host's install holds more than its own program:" >&2
        echo "$installed" >&2
        return 1
    fi

    # The same static library installed as a package of its own: its hosts
    # get SQLite through the CMake package and quen.pc.
    log "the static library's package"
    cmake "$dir" -DQUEN_INSTALL=ON >/dev/null
    cmake --install "$dir" --prefix "$CHECKS/static" >/dev/null
    consumer_cmake "$CHECKS/consumer-static" -DCMAKE_PREFIX_PATH="$CHECKS/static"
    consumer_pkgconfig "$CHECKS/static/lib/pkgconfig" "$CHECKS/consumer-static-pkgconfig"
}

check_deb() {
    local deb root="$CHECKS/deb-root"
    deb=$(ls build/default/packages/quen_*.deb)
    log "check $(basename "$deb")"
    lintian --fail-on error "$deb"
    dpkg-deb -f "$deb" Depends | grep -q 'libsqlite3-0' || {
        echo "$deb: Depends lacks SQLite: $(dpkg-deb -f "$deb" Depends)" >&2
        return 1
    }
    rm -rf "$root"
    dpkg-deb -x "$deb" "$root"
    env -u LD_LIBRARY_PATH "$root/usr/bin/quen" messages >/dev/null
    consumer_cmake "$CHECKS/consumer-deb" -DCMAKE_PREFIX_PATH="$root/usr"
    consumer_pkgconfig "$root/usr/lib/pkgconfig" "$CHECKS/consumer-deb-pkgconfig"
}

check_zip() {
    # Cross-compiled as a Windows user's host would be: the mingw toolchain,
    # quen_DIR into the unpacked zip, the DLLs copied beside the program.
    local zip root="$CHECKS/zip-root" dir="$CHECKS/consumer-zip"
    zip=$(ls "$ROOT"/build/win32/packages/quen-*.zip)
    log "check $(basename "$zip")"
    rm -rf "$root" "$dir"
    mkdir -p "$root"
    (cd "$root" && cmake -E tar xf "$zip")
    local top
    top=$(ls -d "$root"/quen-*)
    "$ROOT/build/win32/wine-run.sh" "$top/bin/quen.exe" messages >/dev/null
    cmake -S tests/consumer -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-i686.cmake" \
        -Dquen_DIR="$top/lib/cmake/quen" >/dev/null
    cmake --build "$dir" -j "$JOBS" >/dev/null
    cp "$top"/bin/*.dll "$dir/"
    "$ROOT/build/win32/wine-run.sh" "$dir/consumer.exe"
}

check_win32_static() {
    # The static library on Windows: no DllMain, no resource; its message
    # table is compiled in. Only the C++ runtime DLLs go beside the host.
    local dir="$CHECKS/host-win32" extra=()
    if [ "${CI:-}" = true ]; then extra+=(-DQUEN_WARNINGS_AS_ERRORS=ON); fi
    log "a Windows host with add_subdirectory(quen), static library"
    rm -rf "$dir"
    cmake -S tests/consumer/subdirectory -B "$dir" -DQUEN_SOURCE_DIR="$ROOT" -DBUILD_SHARED_LIBS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-i686.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "${extra[@]}" >/dev/null
    cmake --build "$dir" -j "$JOBS" >/dev/null
    cp build/win32/bin/lib*-*.dll "$dir/"  # libstdc++-6, libgcc_s_dw2-1, libwinpthread-1
    "$ROOT/build/win32/wine-run.sh" "$dir/host.exe"
}

make_packages() {
    # CPack runs the install rules of the build folder as it stands.
    log "package: Debian"
    (cd build/default && cpack -G DEB >/dev/null)
    ls build/default/packages/*.deb
    if [ -d build/win32 ]; then
        log "package: Windows zip"
        (cd build/win32 && cpack -G ZIP >/dev/null)
        ls build/win32/packages/*.zip
    fi
}

make_docs() {
    log "API reference"
    cmake --build build/default --target docs
    echo "build/default/docs/html/index.html"
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
    ensure_packages "${NATIVE_PACKAGES[@]}" "${WIN32_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}" \
        "${PACKAGE_PACKAGES[@]}" "${DOCS_PACKAGES[@]}"
    ensure_wine32

    configure_and_build default -DBUILD_TESTING=ON
    run_tests default
    check_install
    check_subdirectory_host
    make_docs

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
    make_packages
    check_deb
    check_zip
    check_win32_static
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

command_package() {
    ensure_packages "${NATIVE_PACKAGES[@]}" "${WIN32_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    configure_and_build default
    configure_and_build win32
    make_packages
    check_deb
}

command_docs() {
    ensure_packages "${NATIVE_PACKAGES[@]}" "${DOCS_PACKAGES[@]}"
    log "configure default"
    cmake --preset default >/dev/null
    make_docs
}

case "${1:-}" in
    run) command_run ;;
    test) command_test ;;
    bench) command_bench ;;
    package) command_package ;;
    docs) command_docs ;;
    *)
        echo "usage: ./build.sh run|test|bench|package|docs" >&2
        exit 2
        ;;
esac
