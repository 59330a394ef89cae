// soak: runs QuillaWS.exe for a long time beside the stand-in host whose inventory changes
// every 50 ms (items equipped and taken off, seals, lines at the host's length limit),
// switches the menu's options and position modes by messages meanwhile, and watches the
// program's resources. A developer tool that tools/soak runs under Wine; not a test.
//
//   soak [--minutes N] QUILLAWS_EXE STANDIN_HOST_EXE
//
// At the start (after a warm-up) and every minute it samples the program's GDI and USER
// objects (GetGuiResources), its handles, private bytes and working set, and, under Wine,
// the resident memory and open files of its Linux process (read from /proc through drive
// Z:). It fails, exit code 1, when any of them ends the run above its first sample by more
// than a small margin. Under Wine 8 GetGuiResources, the handle count and the private
// bytes of another process read 0, so there the working set and the Linux figures carry
// the check; on Windows all of them do. Under Wine a GDI object costs the process little
// memory: a brush leaked on every pass (20 a second at Wait=50) grows it by about 140 KiB a
// minute, which the 512 KiB margin of a 10-minute run catches.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_ids.h"
#include "base/file_win.h"
#include "base/handles_win.h"
#include "base/text.h"
#include "config/options.h"
#include "tools/launch/process_win.h"
#include "tools/measure/sample_files.h"
#include "tools/measure/stand_in_win.h"

namespace quilla::measure {
namespace {

constexpr int32_t kDefaultMinutes = 10;
constexpr DWORD kInventoryChangeMs = 50;
constexpr DWORD kCommandEveryMs = 700;
constexpr DWORD kWarmUpMs = 20000;
constexpr DWORD kSampleEveryMs = 60000;

// Menu commands sent in turn: every display option, transparency, topmost, and the three
// position modes (extending the host and giving it back).
constexpr std::array<int, 13> kCommands = {kOptionTransparent,
                                           kOptionWeapon,
                                           kOptionShield,
                                           kOptionAmulet,
                                           kOptionIn,
                                           kOptionUtsuwa,
                                           kOptionMaru,
                                           kOptionTopMost,
                                           kCommandPositionPinned,
                                           kCommandPositionExtended,
                                           kCommandPositionFree,
                                           kCommandPositionExtended,
                                           kCommandPositionFree};

struct Metric {
    const char* name;
    uint64_t count_margin;  // growth allowed, in the metric's unit
    double share_margin;    // or this share of the first sample, whichever is larger
};

// GDI objects, USER objects, handles, private KiB, working set KiB, Linux RSS KiB, open
// files.
constexpr std::array<Metric, 7> kMetrics = {{
    {"gdi", 5, 0.05},
    {"user", 5, 0.05},
    {"handles", 10, 0.05},
    {"private KiB", 512, 0.01},
    {"working KiB", 512, 0.01},
    {"linux rss KiB", 512, 0.01},
    {"linux files", 5, 0.05},
}};
using Sample = std::array<uint64_t, kMetrics.size()>;

// The inventories the host shows in turn.
std::vector<std::string> inventory_variants() {
    std::string long_line(200, 'x');
    long_line += " [竜竜会炎必鎌竜竜会炎必鎌] (Ｅ)";
    return {
        inventory_file(),
        "",
        "ミスリルブレード [竜竜竜竜竜竜竜竜竜竜竜竜] (Ｅ)\r\n白銀の盾 (Ｅ金)\r\n",
        "ミスリルブレード (Ｅ)\r\nいやしのお守り (Ｅ)\r\nお守り：まもりの霧 (Ｅ)\r\n",
        long_line + "\r\n" + long_line + "\r\n",
        "白銀の盾 [発見氷竜重重重] (Ｅ)\r\nつるはし [鎌] (Ｅ)\r\n",
    };
}

// The Linux process of the program under Wine: the one named QuillaWS.exe that runs in
// this prefix. Empty on Windows.
std::string linux_pid_of_overlay() {
    std::string prefix(1024, '\0');
    const DWORD got = GetEnvironmentVariableA("WINEPREFIX", prefix.data(), 1024);
    if (got == 0 || got >= 1024) {
        return {};
    }
    prefix.resize(got);
    const std::string wanted = "WINEPREFIX=" + prefix + std::string(1, '\0');
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string found;
    do {
        const std::string pid = entry.cFileName;
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const auto comm = launch::read_file("Z:\\proc\\" + pid + "\\comm");
        const auto environment = launch::read_file("Z:\\proc\\" + pid + "\\environ");
        if (comm && comm->rfind("QuillaWS.exe", 0) == 0 && environment &&
            environment->find(wanted) != std::string::npos) {
            found = pid;
        }
    } while (found.empty() && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// "VmRSS:   1234 kB" from /proc/PID/status.
uint64_t linux_rss_kib(const std::string& pid) {
    const auto status = launch::read_file("Z:\\proc\\" + pid + "\\status");
    const std::size_t at = status ? status->find("VmRSS:") : std::string::npos;
    return at == std::string::npos
               ? 0
               : static_cast<uint64_t>(parse_decimal_int(std::string_view(*status).substr(at + 6)));
}

uint64_t linux_open_files(const std::string& pid) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(("Z:\\proc\\" + pid + "\\fd\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    uint64_t count = 0;
    do {
        count += entry.cFileName[0] != '.';
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return count;
}

Sample take_sample(HANDLE process, const std::string& linux_pid) {
    Sample s{};
    s[0] = GetGuiResources(process, GR_GDIOBJECTS);
    s[1] = GetGuiResources(process, GR_USEROBJECTS);
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    s[2] = handles;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        s[3] = memory.PrivateUsage / 1024;
        s[4] = memory.WorkingSetSize / 1024;
    }
    if (!linux_pid.empty()) {
        s[5] = linux_rss_kib(linux_pid);
        s[6] = linux_open_files(linux_pid);
    }
    return s;
}

void print_sample(const char* when, const Sample& s) {
    std::printf("%-10s", when);
    for (uint64_t value : s) {
        std::printf(" %14llu", static_cast<unsigned long long>(value));
    }
    std::printf("\n");
    std::fflush(stdout);
}

// The metrics whose last sample lies above the first by more than their margin.
std::vector<std::string> grown(const Sample& first, const Sample& last) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kMetrics.size(); ++i) {
        const auto share =
            static_cast<uint64_t>(static_cast<double>(first[i]) * kMetrics[i].share_margin);
        if (last[i] > first[i] + std::max(kMetrics[i].count_margin, share)) {
            names.emplace_back(kMetrics[i].name);
        }
    }
    return names;
}

struct Arguments {
    int32_t minutes = kDefaultMinutes;
    std::string overlay_exe;
    std::string standin_host;
};

bool parse_arguments(int argc, char** argv, Arguments& out) {
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--minutes" && i + 1 < argc) {
            out.minutes = parse_decimal_int(argv[++i]);
            if (out.minutes < 1 || out.minutes > 24 * 60) {
                return false;
            }
        } else if (!arg.empty() && arg.front() != '-') {
            paths.emplace_back(arg);
        } else {
            return false;
        }
    }
    if (paths.size() != 2) {
        return false;
    }
    out.overlay_exe = paths[0];
    out.standin_host = paths[1];
    return true;
}

// Runs the overlay until the time is up, changing the inventory and sending commands;
// samples when sample_due says so. False when the program ended on its own.
template <typename SampleDue>
bool exercise(const launch::ScratchDirectory& dir, const launch::ChildProcess& overlay, HWND window,
              ULONGLONG until, SampleDue sample_due) {
    const std::vector<std::string> variants = inventory_variants();
    std::size_t variant = 0;
    std::size_t command = 0;
    ULONGLONG next_command = GetTickCount64();
    while (GetTickCount64() < until) {
        if (overlay.has_exited()) {
            return false;
        }
        dir.write_file("inventory.txt", variants[variant++ % variants.size()]);
        if (GetTickCount64() >= next_command) {
            DWORD_PTR ignored;
            SendMessageTimeoutA(window, WM_COMMAND, kCommands[command++ % kCommands.size()], 0,
                                SMTO_ABORTIFHUNG, 5000, &ignored);
            next_command += kCommandEveryMs;
        }
        sample_due();
        Sleep(kInventoryChangeMs);
    }
    return true;
}

int soak(const Arguments& args) {
    launch::ScratchDirectory dir;
    if (!dir.ok() || !dir.write_file("items.txt", item_file()) ||
        !dir.write_file("inventory.txt", inventory_file()) ||
        !dir.write_file("QuillaWS.txt", "Utsuwa=1\r\nWait=50\r\nhook=1\r\nhookKey=117\r\n")) {
        std::printf("cannot write the scratch files\n");
        return 1;
    }
    const std::unique_ptr<launch::ChildProcess> host = start_host(args.standin_host, dir.path());
    if (!host) {
        std::printf("the stand-in host did not show the inventory\n");
        return 1;
    }
    const auto started = launch::start_overlay_process(args.overlay_exe, dir.path());
    const launch::ChildProcess& overlay = *started;
    HWND window = overlay.started() ? launch::wait_until_drawn(overlay) : nullptr;
    const UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, overlay.process_id()));
    if (!window || !process) {
        std::printf("QuillaWS.exe did not start or did not draw\n");
        return 1;
    }
    const std::string linux_pid = linux_pid_of_overlay();
    std::printf("soak: %d minutes, inventory changed every %lu ms, a command every %lu ms%s\n",
                args.minutes, kInventoryChangeMs, kCommandEveryMs,
                linux_pid.empty() ? "" : (", Linux process " + linux_pid).c_str());
    std::printf("%-10s", "minute");
    for (const Metric& m : kMetrics) {
        std::printf(" %14s", m.name);
    }
    std::printf("\n");

    const ULONGLONG start = GetTickCount64();
    if (!exercise(dir, overlay, window, start + kWarmUpMs, [] {})) {
        std::printf("QuillaWS.exe ended during the warm-up\n");
        return 1;
    }
    const Sample first = take_sample(process.get(), linux_pid);
    print_sample("0", first);
    Sample last = first;
    int minute = 0;
    ULONGLONG next_sample = GetTickCount64() + kSampleEveryMs;
    const bool ran =
        exercise(dir, overlay, window, next_sample + kSampleEveryMs * (args.minutes - 1), [&] {
            if (GetTickCount64() >= next_sample) {
                last = take_sample(process.get(), linux_pid);
                print_sample(std::to_string(++minute).c_str(), last);
                next_sample += kSampleEveryMs;
            }
        });
    if (!ran) {
        std::printf("QuillaWS.exe ended during the run\n");
        return 1;
    }
    last = take_sample(process.get(), linux_pid);
    print_sample("end", last);
    const long code = exit_code_of(launch::close_overlay_process(overlay, window));
    const std::vector<std::string> grew = grown(first, last);
    for (const std::string& name : grew) {
        std::printf("grew beyond its margin: %s\n", name.c_str());
    }
    std::printf("closed with WM_CLOSE: %s %ld; resources %s\n",
                code >= 0 ? "exit code" : "did not exit", code, grew.empty() ? "flat" : "grew");
    return code == 0 && grew.empty() ? 0 : 1;
}

}  // namespace
}  // namespace quilla::measure

int main(int argc, char** argv) {
    quilla::measure::Arguments args;
    if (!quilla::measure::parse_arguments(argc, argv, args)) {
        std::printf("usage: soak [--minutes N] QUILLAWS_EXE STANDIN_HOST_EXE\n");
        return 2;
    }
    return quilla::measure::soak(args);
}
