// cpu_usage: the processor time a running QuillaWS.exe takes at the default refresh
// interval, once beside the stand-in host with a 100-line inventory and once idle with no
// host. A developer tool that tools/measure.sh runs under Wine; not a test.
//
//   cpu_usage [--seconds N] [--linux-pid NAME=PID]... QUILLAWS_EXE [STANDIN_HOST_EXE]
//
// Each run starts the program in a scratch folder with default settings, waits until it
// draws, measures for N seconds (60 by default), then closes it with WM_CLOSE. Prints the
// CPU time (user + kernel) per minute and as a share of one core, per thread too, so the
// primary thread's polling message loop and the render worker show apart.
//
// The process figure is the sum of GetThreadTimes over the process's threads: under Wine,
// GetProcessTimes on another process reports (next to) nothing; it is printed beside it.
// Under Wine, --linux-pid adds a Linux process read from /proc through drive Z: over the
// same span, such as the wineserver and the X server, which do work for the program.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/overlay_window_win.h"
#include "base/file_win.h"
#include "base/handles_win.h"
#include "base/text.h"
#include "overlay/overlay_layout.h"
#include "tools/launch/process_win.h"
#include "tools/measure/sample_files.h"
#include "tools/measure/stand_in_win.h"

namespace quilla::measure {
namespace {

constexpr int32_t kDefaultSeconds = 60;

// A Linux process to report beside the Windows ones (only under Wine).
struct LinuxProcess {
    std::string name;
    std::string pid;
};

struct Arguments {
    int32_t seconds = kDefaultSeconds;
    std::string overlay_exe;
    std::string standin_host;
    std::vector<LinuxProcess> linux_processes;
};

// "NAME=PID" with a decimal PID.
bool parse_linux_process(std::string_view arg, std::vector<LinuxProcess>& out) {
    const std::size_t eq = arg.find('=');
    if (eq == std::string_view::npos || eq == 0 || eq + 1 == arg.size()) {
        return false;
    }
    const std::string_view pid = arg.substr(eq + 1);
    if (pid.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    out.push_back({std::string(arg.substr(0, eq)), std::string(pid)});
    return true;
}

bool parse_arguments(int argc, char** argv, Arguments& out) {
    out.standin_host = launch::standin_host_path();
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            out.seconds = parse_decimal_int(argv[++i]);
            if (out.seconds < 1 || out.seconds > 3600) {
                return false;
            }
        } else if (arg == "--linux-pid" && i + 1 < argc) {
            if (!parse_linux_process(argv[++i], out.linux_processes)) {
                return false;
            }
        } else if (!arg.empty() && arg.front() != '-') {
            paths.emplace_back(arg);
        } else {
            return false;
        }
    }
    if (paths.empty() || paths.size() > 2) {
        return false;
    }
    out.overlay_exe = paths[0];
    if (paths.size() == 2) {
        out.standin_host = paths[1];
    }
    return true;
}

double filetime_ms(const FILETIME& t) noexcept {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 10000.0;  // 100 ns units
}

double now_ms() noexcept {
    LARGE_INTEGER frequency;
    LARGE_INTEGER ticks;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&ticks);
    return static_cast<double>(ticks.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct ThreadCpu {
    DWORD id = 0;
    double created_ms = 0.0;
    double cpu_ms = 0.0;  // user + kernel
};

// The user + kernel time of every thread of the process, oldest thread first.
std::vector<ThreadCpu> thread_times(DWORD process_id) {
    std::vector<ThreadCpu> threads;
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) {
        return threads;
    }
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID != process_id) {
            continue;
        }
        UniqueKernelHandle thread(
            OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID));
        FILETIME created, exited, kernel, user;
        if (thread && GetThreadTimes(thread.get(), &created, &exited, &kernel, &user)) {
            threads.push_back({entry.th32ThreadID, filetime_ms(created),
                               filetime_ms(kernel) + filetime_ms(user)});
        }
    }
    std::stable_sort(threads.begin(), threads.end(), [](const ThreadCpu& a, const ThreadCpu& b) {
        return a.created_ms < b.created_ms;
    });
    return threads;
}

// GetProcessTimes' user + kernel time; negative when the call fails.
double process_times_ms(HANDLE process) noexcept {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return -1.0;
    }
    return filetime_ms(kernel) + filetime_ms(user);
}

// User + system time of a Linux process from /proc/PID/stat (clock ticks of 10 ms), read
// through Wine's drive Z:; negative when it cannot be read.
double linux_process_ms(const std::string& pid) {
    const std::optional<std::string> stat = launch::read_file("Z:\\proc\\" + pid + "\\stat");
    const std::size_t paren = stat ? stat->rfind(')') : std::string::npos;
    if (paren == std::string::npos) {
        return -1.0;
    }
    // After the name: state (field 3) ... utime (field 14), stime (field 15).
    std::vector<std::string_view> fields;
    std::string_view rest = std::string_view(*stat).substr(paren + 1);
    while (!rest.empty()) {
        const std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find(' '), rest.size());
        fields.push_back(rest.substr(0, end));
        rest.remove_prefix(end);
    }
    if (fields.size() < 13) {
        return -1.0;
    }
    return (static_cast<double>(parse_decimal_int(fields[11])) +
            static_cast<double>(parse_decimal_int(fields[12]))) *
           10.0;
}

struct CpuSample {
    double wall_ms = 0.0;
    double process_ms = 0.0;
    std::vector<ThreadCpu> threads;
};

CpuSample sample_cpu(HANDLE process, DWORD process_id) {
    CpuSample s;
    s.threads = thread_times(process_id);
    s.process_ms = process_times_ms(process);
    s.wall_ms = now_ms();
    return s;
}

// The CPU time a thread used between the samples (all of it when it started in between).
double thread_delta_ms(const ThreadCpu& later, const CpuSample& before) {
    for (const ThreadCpu& t : before.threads) {
        if (t.id == later.id) {
            return later.cpu_ms - t.cpu_ms;
        }
    }
    return later.cpu_ms;
}

struct Usage {
    double wall_ms = 0.0;
    double process_times_ms = 0.0;  // from GetProcessTimes; negative when it failed
    std::vector<double> thread_ms;  // oldest thread first
    double thread_sum_ms() const {
        double sum = 0.0;
        for (double t : thread_ms) {
            sum += t;
        }
        return sum;
    }
};

Usage usage_between(const CpuSample& before, const CpuSample& after) {
    Usage u;
    u.wall_ms = after.wall_ms - before.wall_ms;
    u.process_times_ms = before.process_ms >= 0.0 && after.process_ms >= 0.0
                             ? after.process_ms - before.process_ms
                             : -1.0;
    for (const ThreadCpu& t : after.threads) {
        u.thread_ms.push_back(thread_delta_ms(t, before));
    }
    return u;
}

double per_minute(double cpu_ms, double wall_ms) {
    return wall_ms > 0.0 ? cpu_ms * 60000.0 / wall_ms : 0.0;
}

double percent_of_core(double cpu_ms, double wall_ms) {
    return wall_ms > 0.0 ? cpu_ms * 100.0 / wall_ms : 0.0;
}

void print_line(const char* what, double cpu_ms, double wall_ms) {
    std::printf("  %-34s %9.1f ms CPU per minute  = %6.3f %% of one core\n", what,
                per_minute(cpu_ms, wall_ms), percent_of_core(cpu_ms, wall_ms));
}

void print_usage(const Usage& u) {
    print_line("QuillaWS.exe, all threads", u.thread_sum_ms(), u.wall_ms);
    for (std::size_t i = 0; i < u.thread_ms.size(); ++i) {
        const std::string name = i == 0   ? "  primary thread (message loop)"
                                 : i == 1 ? "  render worker"
                                          : "  thread " + std::to_string(i + 1);
        print_line(name.c_str(), u.thread_ms[i], u.wall_ms);
    }
    if (u.process_times_ms >= 0.0) {
        print_line("(GetProcessTimes says)", u.process_times_ms, u.wall_ms);
    }
}

std::vector<double> sample_linux(const std::vector<LinuxProcess>& processes) {
    std::vector<double> times;
    for (const LinuxProcess& p : processes) {
        times.push_back(linux_process_ms(p.pid));
    }
    return times;
}

// Everything measured at one moment.
struct Samples {
    std::vector<double> linux_ms;
    CpuSample overlay;
    std::optional<CpuSample> host;
};

Samples take_samples(const Arguments& args, const launch::ChildProcess& overlay,
                     const launch::ChildProcess* host) {
    Samples s;
    s.linux_ms = sample_linux(args.linux_processes);
    s.overlay = sample_cpu(overlay.process(), overlay.process_id());
    if (host) {
        s.host = sample_cpu(host->process(), host->process_id());
    }
    return s;
}

void report(const Arguments& args, const Samples& before, const Samples& after) {
    const double wall_ms = after.overlay.wall_ms - before.overlay.wall_ms;
    print_usage(usage_between(before.overlay, after.overlay));
    if (before.host && after.host) {
        const Usage h = usage_between(*before.host, *after.host);
        print_line("stand-in host, all threads", h.thread_sum_ms(), h.wall_ms);
    }
    for (std::size_t i = 0; i < args.linux_processes.size(); ++i) {
        if (before.linux_ms[i] >= 0.0 && after.linux_ms[i] >= 0.0) {
            const std::string name = args.linux_processes[i].name + " (Linux)";
            print_line(name.c_str(), after.linux_ms[i] - before.linux_ms[i], wall_ms);
        }
    }
}

// One measurement: the overlay with default settings, beside the stand-in host or alone.
bool measure(const Arguments& args, bool with_host) {
    std::printf("%s, Wait 100 (default settings), %d s:\n",
                with_host ? "Beside the stand-in host with the 100-line inventory"
                          : "Idle, no host running",
                args.seconds);
    launch::ScratchDirectory dir;
    if (!dir.ok() || !dir.write_file("items.txt", item_file()) ||
        (with_host && !dir.write_file("inventory.txt", inventory_file()))) {
        std::printf("  cannot write the scratch files\n");
        return false;
    }
    std::unique_ptr<launch::ChildProcess> host;
    if (with_host && !(host = start_host(args.standin_host, dir.path()))) {
        std::printf("  the stand-in host did not show the inventory\n");
        return false;
    }
    const auto started = launch::start_overlay_process(args.overlay_exe, dir.path());
    const launch::ChildProcess& overlay = *started;
    HWND window = overlay.started() ? launch::wait_until_drawn(overlay) : nullptr;
    if (!window) {
        std::printf("  QuillaWS.exe did not start or did not draw\n");
        return false;
    }
    const Samples before = take_samples(args, overlay, host.get());
    Sleep(static_cast<DWORD>(args.seconds) * 1000);  // the measurement's fixed duration
    report(args, before, take_samples(args, overlay, host.get()));

    const long code = exit_code_of(launch::close_overlay_process(overlay, window));
    std::printf("  closed with WM_CLOSE: %s %ld\n\n", code >= 0 ? "exit code" : "did not exit",
                code);
    return code == 0;
}

}  // namespace
}  // namespace quilla::measure

int main(int argc, char** argv) {
    quilla::measure::Arguments args;
    if (!quilla::measure::parse_arguments(argc, argv, args)) {
        std::printf(
            "usage: cpu_usage [--seconds N] [--linux-pid NAME=PID]... QUILLAWS_EXE "
            "[STANDIN_HOST_EXE]\n");
        return 2;
    }
    const bool with_host = quilla::measure::measure(args, true);
    const bool idle = quilla::measure::measure(args, false);
    return with_host && idle ? 0 : 1;
}
