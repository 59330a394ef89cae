# Shared set-up of tools/run and tools/test; source it, do not run it.
# Installs what is missing (Debian packages, the ja_JP, en_US and hi_IN UTF-8 locales),
# prepares the Wine prefix with the crash dialog off, makes sure an X display is there
# (starting Xvfb when none is) and warms the wineserver with its output detached. Safe to
# run again.

QUILLA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QUILLA_ROOT

quilla_packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix googletest libbenchmark-dev
    clang clang-format libclang-rt-14-dev python3 wine wine64 xvfb x11-utils imagemagick
    fonts-ipafont-gothic locales)

quilla_install_packages() {
    local missing=()
    local p
    for p in "${quilla_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "setup: installing ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
    # ja_JP gives Wine code page 932 (the tests and the host); the end-to-end tests also
    # start the program under en_US (1252) and hi_IN (65001).
    local name
    for name in ja_JP en_US hi_IN; do
        if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8\$"; then
            echo "setup: generating the $name.UTF-8 locale"
            local sudo=""
            [ "$(id -u)" -eq 0 ] || sudo=sudo
            $sudo localedef -i "$name" -f UTF-8 "$name.UTF-8"
        fi
    done
}

# Wine: code page 932 (set once the locale exists), no Mono/Gecko prompts, quiet.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$QUILLA_ROOT/build/wineprefix}
export WINEARCH=win64

quilla_prepare_prefix() {
    if [ ! -f "$WINEPREFIX/.quilla-ready" ]; then
        echo "setup: creating the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1
        wineserver -w </dev/null >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >/dev/null 2>&1
        wineserver -w </dev/null >/dev/null 2>&1
        touch "$WINEPREFIX/.quilla-ready"
    fi
}

# An X display: the current one, or a virtual one that we start and remember.
quilla_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return
    fi
    export DISPLAY=${QUILLA_DISPLAY:-:77}
    if ! xdpyinfo >/dev/null 2>&1; then
        echo "setup: starting Xvfb on $DISPLAY"
        Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
        QUILLA_XVFB_PID=$!
        local i
        for i in $(seq 1 100); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
    fi
}

# The process ids of the wineservers running for our prefix.
quilla_wineserver_pids() {
    local pid
    for pid in $(pgrep -x 'wineserver|wineserver64' || true); do
        if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
        fi
    done
}

# Start the wineserver and its services with stdio detached, so test programs start in
# milliseconds and nothing waits on inherited pipes. Remembers whether the server was
# ours to start: one that was already running (another shell's) is left alone.
quilla_warm_wine() {
    if [ -z "$(quilla_wineserver_pids)" ]; then
        QUILLA_STARTED_WINESERVER=1
    fi
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Stops what quilla_setup started: the wineserver of our prefix (only when it was not
# running before) and the Xvfb that quilla_ensure_display started. Safe to call twice.
quilla_teardown() {
    if [ -n "${QUILLA_STARTED_WINESERVER:-}" ]; then
        wineserver -k </dev/null >/dev/null 2>&1 || true
        QUILLA_STARTED_WINESERVER=""
    fi
    if [ -n "${QUILLA_XVFB_PID:-}" ]; then
        kill "$QUILLA_XVFB_PID" 2>/dev/null || true
        QUILLA_XVFB_PID=""
    fi
}

quilla_setup() {
    quilla_install_packages
    export LC_ALL=ja_JP.UTF-8
    quilla_ensure_display
    quilla_prepare_prefix
    quilla_warm_wine
}
