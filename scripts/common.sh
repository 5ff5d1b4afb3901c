# Shared by build.sh and test.sh: packages, the cross build, and a Wine prefix for the tests.

PACKAGES=(cmake make mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 googletest zip procps)

ensure_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [[ $(id -u) -ne 0 ]] && sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}

# A private Wine prefix. wineserver and Wine's services start once, detached, so that they do not
# hold CTest's pipes; an empty AeDebug debugger makes a crashing test exit non-zero.
prepare_wine_prefix() {
    local dir=$1
    export WINEPREFIX="$PWD/$dir/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # The persistent server first: one that wineboot started would end whenever no Wine process runs, and the next
    # test would start the server, services and desktop again on CTest's pipes.
    mkdir -p "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1 </dev/null || true
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        wineboot -i >/dev/null 2>&1 </dev/null
    fi
    # A prefix still being set up makes every Wine process started meanwhile wait for it.
    for _ in $(seq 600); do
        pgrep -f 'wineboot.exe' >/dev/null || break
        sleep 0.1
    done
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f \
        >/dev/null 2>&1 </dev/null
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f \
        >/dev/null 2>&1 </dev/null
}

# Before CTest. Wine's desktop process starts with the first process that makes a window, inherits its standard handles
# and outlives it by some seconds: started by a test, it keeps CTest waiting on the test's pipes. A detached holder
# starts it before CTest and keeps it up until the shell that called this exits.
settle_wine() {
    local dir=$1
    setsid wine "$dir/bin/wiazvk_hold_desktop.exe" >/dev/null 2>&1 </dev/null &
    local holder=$!
    trap "kill $holder 2>/dev/null || true" EXIT
    for _ in $(seq 100); do
        pgrep -f 'explorer.exe /desktop' >/dev/null && break
        sleep 0.1
    done
    # The first use of COM's local servers and of Wine's own WIA service in a new prefix takes many seconds: once here,
    # out of CTest's timing.
    wine "$dir/bin/wiazvk_tests.exe" --gtest_filter='Generations/WineService.*' >/dev/null 2>&1 </dev/null || true
}

# Non-blank lines of the library, of the suites (everything under tests/ but the simulated host and platform) and of
# the simulated host and platform, with the suites' share of the library.
print_line_counts() {
    local library suites simulators
    nonblank() { grep -cv '^[[:space:]]*$'; }
    library=$(cat plugin/* support/* wia/* | nonblank)
    suites=$(find tests -type f ! -path 'tests/host/*' ! -path 'tests/platform/*' -exec cat {} + | nonblank)
    simulators=$(cat tests/host/* tests/platform/* | nonblank)
    echo "Non-blank lines: library $library; suites $suites ($((100 * suites / library))% of the library);" \
        "simulated host and platform $simulators"
}
