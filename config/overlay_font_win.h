// The overlay font: created from a face name and a height, shared between the primary
// thread and the render worker, deleted by whoever lets go of it last.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace quilla {

// A font made with CreateFontIndirectA from a LOGFONTA that is zero but for the height,
// SHIFTJIS_CHARSET and the face name (at most 31 bytes). Null when creation fails.
std::shared_ptr<void> create_overlay_font(const std::string& face, int32_t height);

inline HFONT font_handle(const std::shared_ptr<void>& font) noexcept {
    return static_cast<HFONT>(font.get());
}

// The LOGFONTA read back from a font handle; false when the handle is not a font.
bool read_logfont(HFONT font, LOGFONTA& out) noexcept;

}  // namespace quilla
