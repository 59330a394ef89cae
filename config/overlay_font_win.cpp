// The overlay font, shared between the primary thread and the render worker.
#include "config/overlay_font_win.h"

#include <cstring>

#include "base/text.h"

namespace quilla {

std::shared_ptr<void> create_overlay_font(const std::string& face, int32_t height) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    const std::string_view name = sjis_prefix(face, LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, name.data(), name.size());
    HFONT font = CreateFontIndirectA(&lf);
    if (!font) {
        return nullptr;
    }
    return std::shared_ptr<void>(font, [](void* f) { DeleteObject(static_cast<HFONT>(f)); });
}

bool read_logfont(HFONT font, LOGFONTA& out) noexcept {
    out = LOGFONTA{};
    return font && GetObjectA(font, sizeof out, &out) == sizeof out;
}

}  // namespace quilla
