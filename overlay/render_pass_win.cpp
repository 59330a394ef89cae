// The pass's steps in order, the inventory kept from the last whole read, and the placement.
#include "overlay/render_pass_win.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/trace_win.h"
#include "config/live_settings.h"
#include "config/options.h"
#include "config/overlay_font_win.h"
#include "host/equipment_parser.h"
#include "host/host_window_win.h"
#include "host/inventory_reader_win.h"
#include "input/hot_key.h"
#include "input/input_codes.h"
#include "input/input_poller_win.h"
#include "items/item_db.h"
#include "overlay/overlay_drawing_win.h"
#include "overlay/overlay_layout.h"
#include "overlay/overlay_state.h"
#include "overlay/shown_lines.h"

namespace quilla {

class RenderPass::Impl {
  public:
    Impl(HWND overlay, DrawingSurface& surface, const InventoryReadLimits& limits,
         InventoryCalls& inventory, JoystickCalls& joystick, Clock& clock) noexcept
        : overlay_(overlay),
          surface_(surface),
          window_dc_(overlay),
          screen_dc_(GetDesktopWindow()),
          limits_(limits),
          inventory_calls_(inventory),
          clock_(clock),
          poller_(joystick, clock) {}

    // Runs one pass and returns the pause before the next, in milliseconds.
    int32_t run() noexcept {
        try {
            const auto settings = display_settings().snapshot();
            poll_hot_key(*settings);
            DrawingSurface& surface = surface_;
            SelectGuard font(surface.dc(), font_handle(settings->font));
            const std::optional<FontDescription> described =
                describe_font(font_handle(settings->font));
            const int32_t line_step = described ? described->height : 0;
            const bool host_refuses = read();
            const EquipmentState state = parse(*settings);
            std::vector<OverlayLine> lines =
                shown_lines(state, options().is_on(kOptionWeapon), options().is_on(kOptionShield),
                            options().is_on(kOptionAmulet), host_refuses);
            draw_and_present(std::move(lines), *settings, line_step);
            return std::max(settings->record.wait, kLeastWait);
        } catch (...) {
            trace_exception();
            // Out of memory in a pass: show nothing new, try again after the default pause.
            return kDefaultWait;
        }
    }

    void poll_hot_key(const DisplaySettings& settings) noexcept {
        const bool enabled = settings.record.hook != 0;
        const int32_t polled = enabled ? poller_.poll() : kNoInput;
        if (!hot_key_.update(enabled, polled, settings.record.hook_key)) {
            return;
        }
        options().toggle(kOptionTransparent);
        check(PostMessageW(overlay_, kTransparencyToggledMessage, 0, 0), "PostMessageW");
    }

    // Reads the inventory. Only a whole read replaces the lines the equipment is built
    // from: a read the host or the time budget cut short would drop every item past the
    // cut, so the lines of the last whole read stay. True when the host refuses the read.
    bool read() {
        InventoryRead result = read_inventory(limits_, inventory_calls_, clock_);
        if (result.end == InventoryReadEnd::kWhole) {
            inventory_ = std::move(result.lines);
        }
        return result.end == InventoryReadEnd::kRefused;
    }

    EquipmentState parse(const DisplaySettings& settings) const {
        const auto tables = item_database().snapshot();
        const LineOptions line_options{options().is_on(kOptionIn), options().is_on(kOptionUtsuwa),
                                       options().is_on(kOptionMaru)};
        const NothingTexts nothing{settings.record.weapon_text, settings.record.shield_text,
                                   settings.record.amulet_text};
        return parse_equipment(inventory_, *tables, line_options, nothing);
    }

    void draw_and_present(std::vector<OverlayLine> lines, const DisplaySettings& settings,
                          int32_t line_step) {
        std::vector<std::string_view> texts;
        texts.reserve(lines.size());
        for (const OverlayLine& line : lines) {
            texts.push_back(line.text);
        }
        const DrawColors colors{settings.record.back_color, settings.record.font_color,
                                settings.record.edge_color};
        DrawingSurface& surface = surface_;
        const DrawnOverlay drawn =
            draw_overlay(surface, texts, line_step, colors, options().is_on(kOptionTransparent));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            lines[i].band = drawn.bands[i];
        }
        drawn_lines().publish(std::move(lines));
        overlay_size().width.store(drawn.size.width);
        overlay_size().height.store(drawn.size.height);
        const Placement placement = place(drawn.size);
        present(surface, drawn.size, placement.at);
        show(!placement.hidden);
    }

    struct Placement {
        std::optional<Point> at;  // nothing: where the window is now
        bool hidden = false;
    };

    // Where the overlay goes. Free, or without a host to anchor to, it stays where it is
    // now: a place read earlier could be one the user has dragged it away from since.
    // Pinned or extended, it goes to the host's anchor; while the host is minimized it is
    // hidden where it is (the host's client area is then its icon's).
    Placement place(Size size) const noexcept {
        const int32_t mode = position_mode().load();
        if (mode != kPositionPinned && mode != kPositionExtended) {
            return {};
        }
        HWND host = find_host_main_window();
        if (!host) {
            return {};
        }
        if (mode == kPositionExtended) {
            extend_host(host, size);
        }
        if (IsIconic(host)) {
            return {std::nullopt, true};
        }
        RECT client;
        if (!check(GetClientRect(host, &client), "GetClientRect")) {
            return {};
        }
        POINT corner{client.left, client.bottom};
        ClientToScreen(host, &corner);
        return {anchor_to_client_bottom_left({corner.x, corner.y}, size.height), false};
    }

    // Shows or hides the overlay without waiting for its thread (the request is posted),
    // when it is not so already.
    void show(bool shown) const noexcept {
        if ((IsWindowVisible(overlay_) != FALSE) != shown) {
            ShowWindowAsync(overlay_, shown ? SW_SHOWNA : SW_HIDE);
        }
    }

    // Grows the host by the overlay's height, unless mode 3 ended meanwhile.
    static void extend_host(HWND host, Size size) noexcept {
        std::lock_guard lock(host_layout_mutex());
        if (position_mode().load() != kPositionExtended) {
            return;
        }
        const std::optional<Size> outer = host_outer_size(host);
        if (!outer) {
            return;
        }
        if (auto height = extended_host_height(outer->width, outer->height, size.height)) {
            resize_host_height(host, outer->width, *height);
        }
    }

    void present(const DrawingSurface& surface, Size size,
                 const std::optional<Point>& where) noexcept {
        BitBlt(window_dc_.get(), 0, 0, size.width, size.height, surface.dc(), 0, 0,
               SRCCOPY | CAPTUREBLT);
        POINT dest{where ? where->x : 0, where ? where->y : 0};
        SIZE extent{size.width, size.height};
        POINT source{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        check(UpdateLayeredWindow(overlay_, screen_dc_.get(), where ? &dest : nullptr, &extent,
                                  surface.dc(), &source, 0, &blend, ULW_ALPHA),
              "UpdateLayeredWindow");
    }

  private:
    HWND overlay_;
    DrawingSurface& surface_;
    WindowDc window_dc_;
    WindowDc screen_dc_;
    InventoryReadLimits limits_;
    InventoryCalls& inventory_calls_;
    Clock& clock_;
    InputPoller poller_;
    HotKeyPress hot_key_;
    // The inventory lines of the last whole read.
    std::vector<std::string> inventory_;
};

RenderPass::RenderPass(HWND overlay, DrawingSurface& surface, const InventoryReadLimits& limits,
                       InventoryCalls& inventory, JoystickCalls& joystick, Clock& clock)
    : impl_(std::make_unique<Impl>(overlay, surface, limits, inventory, joystick, clock)) {}

RenderPass::~RenderPass() = default;

int32_t RenderPass::run() noexcept {
    return impl_->run();
}

}  // namespace quilla
