// The configuration dialog: a plain popup window (not a dialog box) that paints its own
// labels, buttons and colour swatches and uses child controls for the font list, the
// edit fields, two check boxes, the hot-key button and the capture panel.
//
// It edits the display settings that the render worker reads: Apply publishes one new
// snapshot holding every edited value and the new font, so the worker always draws with
// one whole set of settings and a font nobody has deleted. While the dialog exists the
// published hot-key switch is held at 0 (a key captured here never toggles transparency);
// the dialog keeps the user's choice and publishes it when it is destroyed, which happens
// before the overlay saves the settings at exit, since the overlay owns it.
#include "ui/config_dialog_win.h"

#include <commdlg.h>
#include <windowsx.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "config/overlay_font_win.h"
#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "base/trace_win.h"
#include "base/window_class_win.h"
#include "config/config_rules.h"
#include "input/input_codes.h"
#include "input/input_poller_win.h"

namespace quilla {
namespace {

constexpr UINT_PTR kCaptureTimerId = 1;
constexpr UINT kCaptureTimerMs = 1;

using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;

bool is_checked(HWND box) noexcept {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class ConfigDialog {
  public:
    static ConfigDialog& instance() {
        // Never destroyed: the custom colours live as long as the process.
        static auto* dialog = new ConfigDialog;
        return *dialog;
    }

    HWND window() const noexcept { return hwnd_; }

    HWND open(HWND owner, Published<DisplaySettings>& settings, JoystickCalls& joystick,
              Clock& clock) noexcept {
        if (hwnd_) {
            return hwnd_;
        }
        poller_.emplace(joystick, clock);
        const HINSTANCE instance = window_instance(owner);
        // A class registered by an earlier dialog stays.
        register_window_class(instance, kConfigDialogClass, &window_procedure<ConfigDialog>,
                              static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        settings_ = &settings;
        if (!suspend_hook()) {
            return nullptr;
        }
        const POINT origin = centred_on_screen(kConfigDialogWidth, kConfigDialogHeight);
        HWND hwnd = nullptr;
        try {
            hwnd = CreateWindowExW(0, widen(kConfigDialogClass).c_str(), L"", WS_POPUP, origin.x,
                                   origin.y, kConfigDialogWidth, kConfigDialogHeight, owner,
                                   nullptr, instance, this);
        } catch (...) {
            trace_exception();
        }
        if (!hwnd) {
            restore_hook();
            hwnd_ = nullptr;
            return nullptr;
        }
        ShowWindow(hwnd, SW_SHOW);
        return hwnd;
    }

    void attach(HWND hwnd) noexcept { hwnd_ = hwnd; }

    // A throw ends at the window procedure, which traces it and gives the message its
    // default processing (a failed creation for WM_CREATE).
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) {
        switch (message) {
            case WM_CREATE:
                return on_create() ? 0 : -1;
            case WM_PAINT:
                paint();
                return 0;
            case WM_COMMAND:
                if (LOWORD(wparam) != kHotKeyButtonId) {
                    break;
                }
                // Created last, the panel lies under the controls it covers: it goes on
                // top of them as it shows.
                check(SetWindowPos(control(kCapturePanel), HWND_TOP, 0, 0, 0, 0,
                                   SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW),
                      "SetWindowPos");
                return 0;
            case WM_TIMER:
                if (wparam != kCaptureTimerId) {
                    break;
                }
                poll_capture();
                return 0;
            case WM_LBUTTONDOWN:
                on_left_button(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
                return 0;
            case WM_DESTROY:
                on_destroy();
                return 0;
            default:
                break;
        }
        return DefWindowProcW(hwnd_, message, wparam, lparam);
    }

  private:
    ConfigDialog() = default;

    HWND control(DialogControl which) const noexcept { return controls_[which]; }

    void set_check(DialogControl box, bool checked) const noexcept {
        SendMessageW(control(box), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    bool on_create() {
        chooser_ = CHOOSECOLORW{};
        chooser_.lStructSize = sizeof chooser_;
        chooser_.hwndOwner = hwnd_;
        chooser_.lpCustColors = custom_colors_.data();
        chooser_.Flags = CC_RGBINIT | CC_FULLOPEN;

        const auto current = settings_->snapshot();
        // Without a font: height 0 and no face.
        const FontDescription font =
            describe_font(font_handle(current->font)).value_or(FontDescription{});
        edited_ = current->record;

        std::array<std::string, kDialogControlCount> texts;
        texts[kSizeField] = std::to_string(font.height);
        texts[kWeaponField] = edited_.weapon_text;
        texts[kShieldField] = edited_.shield_text;
        texts[kAmuletField] = edited_.amulet_text;
        texts[kWaitField] = std::to_string(edited_.wait);
        texts[kHotKeyButton] = input_code_name(edited_.hook_key);
        texts[kCapturePanel] = "Push Any Key";
        for (int i = 0; i < kDialogControlCount; ++i) {
            controls_[i] = create_control(hwnd_, kDialogControls[i], texts[i]);
        }

        const std::vector<ListedFace> faces = listed_faces();
        for (const ListedFace& face : faces) {
            const std::wstring shown = widen(face.name);
            SendMessageW(control(kFontList), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(shown.c_str()));
        }
        saved_face_ = font.face;
        const std::optional<std::size_t> entry = saved_face_index(faces, font.face);
        saved_face_entry_ = entry ? static_cast<LRESULT>(*entry) : CB_ERR;
        SendMessageW(control(kFontList), CB_SETCURSEL, entry.value_or(0), 0);
        set_check(kItemWindowBox, edited_.item_window != 0);
        set_check(kHookBox, saved_hook_ != 0);
        check(SetTimer(hwnd_, kCaptureTimerId, kCaptureTimerMs, nullptr) != 0, "SetTimer");
        return true;
    }

    // Drawn off-screen, then copied to the window in one transfer, so it never flickers.
    void paint() {
        PaintDc window_dc(hwnd_);
        UniqueMemoryDc dc(CreateCompatibleDC(window_dc.get()));
        UniqueBitmap bitmap(
            CreateCompatibleBitmap(window_dc.get(), kConfigDialogWidth, kConfigDialogHeight));
        if (!dc || !bitmap) {
            return;
        }
        SelectGuard bitmap_selected(dc.get(), bitmap.get());
        PatBlt(dc.get(), 0, 0, kConfigDialogWidth, kConfigDialogHeight, PATCOPY);  // white
        for (const PaintedLabel& label : kPaintedLabels) {
            const std::wstring text = widen(label.text);
            TextOutW(dc.get(), label.at.x, label.at.y, text.c_str(), static_cast<int>(text.size()));
        }
        for (const PaintedSpot& spot : kPaintedSpots) {
            if (spot.caption) {
                RECT r{spot.drawn.left, spot.drawn.top, spot.drawn.right, spot.drawn.bottom};
                DrawTextW(dc.get(), widen(spot.caption).c_str(), -1, &r,
                          DT_CENTER | DT_TOP | DT_SINGLELINE);
            }
        }
        {
            SelectGuard hollow(dc.get(), GetStockObject(NULL_BRUSH));
            for (const PaintedSpot& spot : kPaintedSpots) {
                if (spot.caption) {
                    draw_box(dc.get(), spot.drawn);
                }
            }
        }
        UniquePen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        SelectGuard pen_selected(dc.get(), pen.get());
        const COLORREF swatch_colors[] = {edited_.back_color, edited_.font_color,
                                          edited_.edge_color};
        for (std::size_t i = 0; i < std::size(swatch_colors); ++i) {
            UniqueBrush brush(CreateSolidBrush(swatch_colors[i]));
            SelectGuard brush_selected(dc.get(), brush.get());
            draw_box(dc.get(), kPaintedSpots[i].drawn);
        }
        BitBlt(window_dc.get(), 0, 0, kConfigDialogWidth, kConfigDialogHeight, dc.get(), 0, 0,
               SRCCOPY);
    }

    static void draw_box(HDC dc, const Rect& box) noexcept {
        Rectangle(dc, box.left, box.top, box.right, box.bottom);
    }

    void on_left_button(int x, int y) {
        switch (spot_at(x, y)) {
            case DialogSpot::kBackSwatch:
                choose_color(edited_.back_color);
                break;
            case DialogSpot::kFontSwatch:
                choose_color(edited_.font_color);
                break;
            case DialogSpot::kEdgeSwatch:
                choose_color(edited_.edge_color);
                break;
            case DialogSpot::kApply:
                apply(SizeRule::kApply);
                break;
            case DialogSpot::kOk:
                apply(SizeRule::kOk);
                check(DestroyWindow(hwnd_), "DestroyWindow");
                break;
            case DialogSpot::kCancel:
                check(DestroyWindow(hwnd_), "DestroyWindow");
                break;
            case DialogSpot::kNone: {
                // Any free spot drags the borderless window, as a caption would.
                drag_by_free_spot(hwnd_, {x, y});
                break;
            }
        }
    }

    void choose_color(uint32_t& working) noexcept {
        chooser_.rgbResult = working;
        // The chooser is modal; the dialog may have been destroyed with its owner meanwhile.
        if (ChooseColorW(&chooser_) && hwnd_) {
            working = chooser_.rgbResult;
            check(InvalidateRect(hwnd_, nullptr, FALSE), "InvalidateRect");
        }
    }

    // The face chosen in the list; the saved face itself while the entry found for it is
    // chosen, so that a face the system lists under another name keeps the player's name.
    std::string selected_face() const {
        const LRESULT index = SendMessageW(control(kFontList), CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) {
            return {};  // the font mapper chooses the face
        }
        if (index == saved_face_entry_) {
            return saved_face_;
        }
        const LRESULT length = SendMessageW(control(kFontList), CB_GETLBTEXTLEN, index, 0);
        std::wstring face(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(control(kFontList), CB_GETLBTEXT, index,
                     reinterpret_cast<LPARAM>(face.data()));
        return face_name_from_wide(face.c_str());
    }

    // Publishes every edited value in one snapshot. The hot-key switch is only remembered:
    // it is published when the dialog goes.
    void apply(SizeRule rule) {
        DialogEdits edits;
        edits.record = edited_;
        edits.record.weapon_text = window_text(control(kWeaponField));
        edits.record.shield_text = window_text(control(kShieldField));
        edits.record.amulet_text = window_text(control(kAmuletField));
        edits.wait_text = window_text(control(kWaitField));
        edits.record.item_window = is_checked(control(kItemWindowBox)) ? 1 : 0;
        const int32_t height = font_height_from_text(window_text(control(kSizeField)), rule);
        std::shared_ptr<void> font = create_overlay_font(selected_face(), height);
        saved_hook_ = is_checked(control(kHookBox)) ? 1 : 0;
        settings_->update(
            [&](DisplaySettings& settings) { apply_edits(edits, std::move(font), settings); });
        if (HWND owner = GetWindow(hwnd_, GW_OWNER)) {
            check(PostMessageW(owner, kDisplaySettingsAppliedMessage, 0, 0), "PostMessageW");
        }
    }

    // While the capture panel shows, the first input found down becomes the hot key.
    void poll_capture() noexcept {
        if (!poller_ || !IsWindowVisible(control(kCapturePanel))) {
            return;
        }
        const int32_t code = poller_->poll();
        if (code == kNoInput) {
            return;
        }
        edited_.hook_key = code;
        // Its own recovery: the key is taken and the panel goes even without memory for
        // the key's name.
        try {
            check(set_window_text(control(kHotKeyButton), input_code_name(code)), "SetWindowTextW");
        } catch (...) {
            trace_exception();
            check(SetWindowTextW(control(kHotKeyButton), L""), "SetWindowTextW");
        }
        SetFocus(hwnd_);
        ShowWindow(control(kCapturePanel), SW_HIDE);
    }

    bool suspend_hook() noexcept {
        try {
            settings_->update([this](DisplaySettings& settings) {
                saved_hook_ = settings.record.hook;
                settings.record.hook = 0;
            });
            hook_suspended_ = true;
            return true;
        } catch (...) {
            trace_exception();
            return false;
        }
    }

    void restore_hook() noexcept {
        if (!hook_suspended_) {
            return;
        }
        try {
            const int32_t saved = saved_hook_;
            settings_->update([saved](DisplaySettings& settings) { settings.record.hook = saved; });
            hook_suspended_ = false;
        } catch (...) {
            trace_exception();
            // Out of memory: the switch stays off rather than taking a wrong value.
        }
    }

    void on_destroy() noexcept {
        restore_hook();
        check(KillTimer(hwnd_, kCaptureTimerId), "KillTimer");
        poller_.reset();  // its calls need outlive only the open dialog
        hwnd_ = nullptr;  // the next 設定 opens a new dialog
    }

    HWND hwnd_ = nullptr;
    Published<DisplaySettings>* settings_ = nullptr;
    std::optional<InputPoller> poller_;  // from the dialog's opening on
    SettingsRecord edited_;              // the colours and the hot key as chosen so far
    int32_t saved_hook_ = 0;
    std::string saved_face_;             // the overlay's face as the dialog opened
    LRESULT saved_face_entry_ = CB_ERR;  // the list's entry found for it, if any
    bool hook_suspended_ = false;
    std::array<HWND, kDialogControlCount> controls_{};
    CHOOSECOLORW chooser_{};
    std::array<COLORREF, 16> custom_colors_{};  // offered again each time, never saved
};

}  // namespace

HWND open_config_dialog(HWND owner, Published<DisplaySettings>& settings, JoystickCalls& joystick,
                        Clock& clock) {
    return ConfigDialog::instance().open(owner, settings, joystick, clock);
}

HWND config_dialog_window() noexcept {
    return ConfigDialog::instance().window();
}

}  // namespace quilla
