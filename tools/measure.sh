#!/usr/bin/env bash
# Measures the live overlay's cost under Wine: builds QuillaWS.exe, the stand-in host and
# the measuring tools (tools/measure/), then prints the time of one render pass with a
# 100-line inventory (pass_timing) and the CPU time of a running QuillaWS.exe per minute,
# beside the stand-in host and idle without one (cpu_usage, about two minutes).
#   tools/measure.sh [--passes N] [--seconds N]
#   tools/measure.sh --against OTHER_EXE [--rounds N] [--seconds N]
# With --against, only the CPU time is measured, of OTHER_EXE (an earlier build of
# QuillaWS.exe, say) and of this build in turn, N rounds (3 by default), so that both see
# the same load on a shared machine.
# Not part of tools/test. Runs on a display and Wine prefix of its own, so its stand-in
# host and overlay never meet the windows of tests running on the usual display:
#   QUILLA_MEASURE_DISPLAY    X display (default :91; Xvfb is started there when needed)
#   QUILLA_MEASURE_PREFIX     Wine prefix (default build/wineprefix-measure)
#   QUILLA_MEASURE_BUILD_DIR  build folder (default build/windows, the windows preset's)
set -euo pipefail
cd "$(dirname "$0")/.."

passes=500
seconds=60
against=""
rounds=3
while [ $# -gt 0 ]; do
    case "$1" in
        --passes) passes=${2:?--passes needs a number}; shift 2 ;;
        --seconds) seconds=${2:?--seconds needs a number}; shift 2 ;;
        --against) against=$(realpath "${2:?--against needs a program}"); shift 2 ;;
        --rounds) rounds=${2:?--rounds needs a number}; shift 2 ;;
        *) echo "usage: tools/measure.sh [--passes N] [--seconds N]" \
                "| --against OTHER_EXE [--rounds N] [--seconds N]" >&2; exit 2 ;;
    esac
done

# env.sh keeps a working DISPLAY; without one it starts Xvfb on QUILLA_DISPLAY.
unset DISPLAY
export QUILLA_DISPLAY=${QUILLA_MEASURE_DISPLAY:-:91}
WINEPREFIX=$(realpath -m "${QUILLA_MEASURE_PREFIX:-build/wineprefix-measure}")
export WINEPREFIX
source tools/env.sh
quilla_setup

build_dir=${QUILLA_MEASURE_BUILD_DIR:-build/windows}
cmake --preset windows -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2 --target QuillaWS standin_host pass_timing cpu_usage

win_path() { winepath -w "$1" 2>/dev/null; }
host_exe=$(win_path "$PWD/$build_dir/tools/standin_host.exe")
overlay_exe=$(win_path "$PWD/$build_dir/QuillaWS.exe")

# Under Wine part of the program's work is done by the wineserver of its prefix and by the
# X server; cpu_usage reports them too, over the same span.
linux_pids=()
for pid in $(quilla_wineserver_pids); do
    linux_pids+=(--linux-pid "wineserver=$pid")
done
xvfb_pid=$(pgrep -f "^Xvfb $DISPLAY( |\$)" | head -n 1 || true)
if [ -n "$xvfb_pid" ]; then
    linux_pids+=(--linux-pid "Xvfb=$xvfb_pid")
fi

cpu_usage() {
    tools/wine-run "$build_dir/tools/cpu_usage.exe" --seconds "$seconds" "${linux_pids[@]}" \
        "$1" "$host_exe" </dev/null | tr -d '\r'
}

echo
echo "=== load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
if [ -n "$against" ]; then
    against_exe=$(win_path "$against")
    for round in $(seq "$rounds"); do
        echo "=== round $round: CPU time of $against_exe"
        cpu_usage "$against_exe"
        echo "=== round $round: CPU time of $overlay_exe (load average $(cut -d' ' -f1 /proc/loadavg))"
        cpu_usage "$overlay_exe"
    done
    echo "=== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
    exit 0
fi
echo "=== one render pass (display $DISPLAY, prefix $WINEPREFIX)"
tools/wine-run "$build_dir/tools/pass_timing.exe" --passes "$passes" "$host_exe" </dev/null | tr -d '\r'
echo
echo "=== CPU time of QuillaWS.exe"
cpu_usage "$overlay_exe"
echo "=== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
