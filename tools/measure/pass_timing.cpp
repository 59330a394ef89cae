// pass_timing: how long one render pass takes (read the host's inventory, parse it, draw,
// present) beside the stand-in host with a 100-line inventory. A developer tool that
// tools/measure.sh runs under Wine; not a test.
//
//   pass_timing [--passes N] [STANDIN_HOST_EXE]
//
// Prints the mean, median and 95th percentile of one pass in milliseconds, then of its
// steps on their own (the inventory read, one message to the host, the parse, the draw),
// and of one pass again once the host has gone, which leaves the draw and the present.
// Last, the work the configuration dialog does with the system's fonts when it opens: the
// faces listed, and a saved face that is not listed under its name looked up by its font.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/options.h"
#include "config/overlay_font_win.h"
#include "config/settings.h"
#include "config/live_settings.h"
#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "base/text.h"
#include "host/equipment_parser.h"
#include "host/inventory_reader_win.h"
#include "items/item_db.h"
#include "items/item_file_win.h"
#include "overlay/drawing_surface_win.h"
#include "overlay/overlay_drawing_win.h"
#include "overlay/overlay_state.h"
#include "overlay/render_pass_win.h"
#include "tools/launch/process_win.h"
#include "tools/measure/sample_files.h"
#include "tools/measure/stand_in_win.h"

namespace quilla::measure {
namespace {

constexpr int32_t kDefaultPasses = 500;
constexpr int32_t kWarmUpPasses = 20;
constexpr char kWindowClass[] = "QuillaMeasurePassTiming";

struct Arguments {
    int32_t passes = kDefaultPasses;
    std::string standin_host;
};

bool parse_arguments(int argc, char** argv, Arguments& out) {
    out.standin_host = launch::standin_host_path();
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--passes" && i + 1 < argc) {
            out.passes = parse_decimal_int(argv[++i]);
            if (out.passes < 1 || out.passes > 100000) {
                return false;
            }
        } else if (!arg.empty() && arg.front() != '-') {
            out.standin_host = std::string(arg);
        } else {
            return false;
        }
    }
    return true;
}

// Milliseconds on the performance counter.
class Clock {
  public:
    Clock() noexcept {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        ms_per_tick_ = 1000.0 / static_cast<double>(frequency.QuadPart);
    }
    double now_ms() const noexcept {
        LARGE_INTEGER ticks;
        QueryPerformanceCounter(&ticks);
        return static_cast<double>(ticks.QuadPart) * ms_per_tick_;
    }

  private:
    double ms_per_tick_ = 0.0;
};

struct Summary {
    double mean = 0.0;
    double median = 0.0;
    double p95 = 0.0;
    double max = 0.0;
};

// Mean, median, nearest-rank 95th percentile and maximum of a non-empty sample.
Summary summarize(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    Summary s;
    double sum = 0.0;
    for (double v : samples) {
        sum += v;
    }
    s.mean = sum / static_cast<double>(n);
    s.median = n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
    const std::size_t rank = (n * 95 + 99) / 100;  // ceil(0.95 n), at least 1
    s.p95 = samples[std::max<std::size_t>(rank, 1) - 1];
    s.max = samples.back();
    return s;
}

void print_summary(const char* what, const Summary& s) {
    std::printf("  %-40s mean %7.3f ms   median %7.3f ms   p95 %7.3f ms   max %7.3f ms\n", what,
                s.mean, s.median, s.p95, s.max);
}

// Handles what the window's own calls post to this thread between passes.
void pump_messages() noexcept {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The live state a pass reads, set up as the program does at start-up with default
// settings: option defaults, position mode free, the default font, the items.
bool publish_live_state(const std::string& items_path) {
    options().load(default_option_states());
    position_mode().store(1);
    DisplaySettings display;
    display.record.weapon_text = kDefaultNothingText;
    display.record.shield_text = kDefaultNothingText;
    display.record.amulet_text = kDefaultNothingText;
    display.record.wait = kDefaultWait;
    display.font = create_overlay_font(kDefaultFontFace, 16);
    const bool have_font = display.font != nullptr;
    display_settings().publish(std::move(display));

    ItemTables tables;
    load_item_file_into(widen(items_path), tables);
    const bool have_items = size(tables, Category::kWeapon) > 0;
    item_database().replace(std::move(tables));
    return have_font && have_items;
}

UniqueWindow create_layered_window(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);
    UniqueWindow window(CreateWindowExA(WS_EX_LAYERED, kWindowClass, "pass_timing", WS_POPUP, 0, 0,
                                        20, 20, nullptr, nullptr, instance, nullptr));
    if (window) {
        ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    }
    return window;
}

// The text of the line of that role that the last pass drew; empty when it drew none.
std::string drawn_text(LineRole role) {
    for (const OverlayLine& line : *drawn_lines().snapshot()) {
        if (line.role == role) {
            return line.text;
        }
    }
    return {};
}

// True when the last pass drew the inventory's weapon, shield and amulets.
bool passes_read_the_inventory() {
    return drawn_text(LineRole::kWeapon).find(kWeaponName) != std::string::npos &&
           drawn_text(LineRole::kShield).find(kShieldName) != std::string::npos &&
           drawn_text(LineRole::kAmulet).find(kLastAmuletName) != std::string::npos;
}

// True when the last pass drew the three nothing texts.
bool passes_show_nothing() {
    return drawn_text(LineRole::kWeapon) == kDefaultNothingText &&
           drawn_text(LineRole::kShield) == kDefaultNothingText &&
           drawn_text(LineRole::kAmulet) == kDefaultNothingText;
}

std::vector<double> time_passes(RenderPass& pass, int32_t passes, const Clock& clock) {
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(passes));
    for (int32_t i = 0; i < passes; ++i) {
        const double start = clock.now_ms();
        pass.run();
        samples.push_back(clock.now_ms() - start);
        pump_messages();
    }
    return samples;
}

// Round trips of the cheaper of the two messages the reader sends for every line.
std::vector<double> time_host_messages(HWND list, int32_t count, const Clock& clock) {
    std::vector<double> samples;
    for (int32_t i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        const double start = clock.now_ms();
        SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i) % kInventoryLines, 0,
                            SMTO_ABORTIFHUNG, 1000, &length);
        samples.push_back(clock.now_ms() - start);
    }
    return samples;
}

// Drawing the last pass's lines into the surface, without the present.
std::vector<double> time_draws(DrawingSurface& surface, int32_t count, const Clock& clock) {
    const auto settings = display_settings().snapshot();
    const auto drawn = drawn_lines().snapshot();
    std::vector<std::string_view> lines;
    for (const OverlayLine& line : *drawn) {
        lines.push_back(line.text);
    }
    const SelectGuard font(surface.dc(), font_handle(settings->font));
    const std::optional<FontDescription> described = describe_font(font_handle(settings->font));
    const int32_t line_step = described ? described->height : 0;
    const DrawColors colors{settings->record.back_color, settings->record.font_color,
                            settings->record.edge_color};
    std::vector<double> samples;
    for (int32_t i = 0; i < count; ++i) {
        const double start = clock.now_ms();
        draw_overlay(surface, lines, line_step, colors, false);
        samples.push_back(clock.now_ms() - start);
    }
    return samples;
}

// The inventory read and the parse on their own, the same number of times.
void time_steps(int32_t passes, const Clock& clock, std::vector<double>& read,
                std::vector<double>& parse) {
    const auto tables = item_database().snapshot();
    const LineOptions line_options{options().is_on(kOptionIn), options().is_on(kOptionUtsuwa),
                                   options().is_on(kOptionMaru)};
    const NothingTexts nothing{kDefaultNothingText, kDefaultNothingText, kDefaultNothingText};
    for (int32_t i = 0; i < passes; ++i) {
        const double start = clock.now_ms();
        const std::vector<std::string> lines = read_inventory().lines;
        const double read_done = clock.now_ms();
        static_cast<void>(parse_equipment(lines, *tables, line_options, nothing));
        const double parse_done = clock.now_ms();
        read.push_back(read_done - start);
        parse.push_back(parse_done - read_done);
    }
}

// The dialog's face list as it opens, and the lookup of a saved face listed under another
// name: IPAPGothic, which a Japanese system lists as IPA Pゴシック, the prefix's fonts
// being the IPA fonts.
void time_face_list(int32_t count, const Clock& clock) {
    constexpr char kEnglishName[] = "IPAPGothic";
    std::vector<double> listing;
    std::vector<double> lookup;
    std::size_t faces_listed = 0;
    std::optional<std::size_t> found;
    for (int32_t i = 0; i < count; ++i) {
        const double start = clock.now_ms();
        const std::vector<ListedFace> faces = listed_faces();
        const double listed = clock.now_ms();
        found = saved_face_index(faces, kEnglishName);
        lookup.push_back(clock.now_ms() - listed);
        listing.push_back(listed - start);
        faces_listed = faces.size();
    }
    std::printf("the configuration dialog's fonts (%zu faces; %s found as entry %d):\n",
                faces_listed, kEnglishName, found ? static_cast<int>(*found) : -1);
    print_summary("the faces listed", summarize(listing));
    print_summary("a saved face looked up by its font", summarize(lookup));
}

int run(const Arguments& args) {
    launch::ScratchDirectory dir;
    if (!dir.ok() || !dir.write_file("inventory.txt", inventory_file()) ||
        !dir.write_file("items.txt", item_file())) {
        std::printf("pass_timing: cannot write the scratch files\n");
        return 1;
    }
    const std::unique_ptr<launch::ChildProcess> host = start_host(args.standin_host, dir.path());
    if (!host) {
        std::printf("pass_timing: the stand-in host did not show the inventory\n");
        return 1;
    }
    if (!publish_live_state(dir.file("items.txt"))) {
        std::printf("pass_timing: no overlay font or no items\n");
        return 1;
    }
    UniqueWindow window = create_layered_window(GetModuleHandleA(nullptr));
    SurfaceResult surface = create_drawing_surface(window.get(), GetSystemMetrics(SM_CXSCREEN),
                                                   GetSystemMetrics(SM_CYSCREEN));
    if (!window || !surface.surface) {
        std::printf("pass_timing: no window or drawing surface\n");
        return 1;
    }
    const Clock clock;
    auto pass = std::make_unique<RenderPass>(window.get(), *surface.surface);
    time_passes(*pass, kWarmUpPasses, clock);
    if (!passes_read_the_inventory()) {
        std::printf("pass_timing: the passes did not show the inventory's items\n");
        return 1;
    }
    std::printf("pass_timing: %d passes after %d warm-up passes, %dx%d surface\n", args.passes,
                kWarmUpPasses, surface.surface->width(), surface.surface->height());
    std::printf("beside the stand-in host, %d-line inventory:\n",
                static_cast<int>(kInventoryLines));
    print_summary("one pass (read, parse, draw, present)",
                  summarize(time_passes(*pass, args.passes, clock)));
    std::vector<double> read;
    std::vector<double> parse;
    time_steps(args.passes, clock, read, parse);
    print_summary("inventory read alone", summarize(read));
    print_summary("one LB_GETTEXTLEN round trip",
                  summarize(time_host_messages(host->find_inventory_window(), args.passes, clock)));
    print_summary("parse alone", summarize(parse));
    print_summary("draw alone", summarize(time_draws(*surface.surface, args.passes, clock)));

    host->terminate();
    time_passes(*pass, kWarmUpPasses, clock);
    if (!passes_show_nothing()) {
        std::printf("pass_timing: the passes still show items without the host\n");
        return 1;
    }
    std::printf("no host running (the three nothing texts):\n");
    print_summary("one pass (draw, present)", summarize(time_passes(*pass, args.passes, clock)));
    pass.reset();  // its DCs go before the window
    time_face_list(args.passes, clock);
    return 0;
}

}  // namespace
}  // namespace quilla::measure

int main(int argc, char** argv) {
    quilla::measure::Arguments args;
    if (!quilla::measure::parse_arguments(argc, argv, args)) {
        std::printf("usage: pass_timing [--passes N] [STANDIN_HOST_EXE]\n");
        return 2;
    }
    return quilla::measure::run(args);
}
