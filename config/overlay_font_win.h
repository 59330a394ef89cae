// The overlay font: created from a face name and a height, shared between the primary
// thread and the render worker, deleted by whoever lets go of it last.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quilla {

// A font made with CreateFontIndirectW from a LOGFONTW that is zero but for the height,
// SHIFTJIS_CHARSET and the face name (its first 31 bytes, cut on a character boundary, in
// wide characters). Null when creation fails.
std::shared_ptr<void> create_overlay_font(const std::string& face, int32_t height);

inline HFONT font_handle(const std::shared_ptr<void>& font) noexcept {
    return static_cast<HFONT>(font.get());
}

// What a font was made of, as the program keeps it: the face name in Shift-JIS (the wide
// face narrowed with code page 932 and cut to 31 bytes on a character boundary) and the
// height.
struct FontDescription {
    std::string face;
    int32_t height = 0;
};

// The face name as the program keeps it, from a wide face name as the system gives it.
std::string face_name_from_wide(const wchar_t* face);

// The description read back from a font handle; nothing when the handle is not a font.
std::optional<FontDescription> describe_font(HFONT font);

}  // namespace quilla
