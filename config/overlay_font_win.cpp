// CreateFontIndirectW for the overlay font, held by a shared pointer that deletes it.
#include "config/overlay_font_win.h"

#include <cwchar>

#include "base/code_page_win.h"
#include "base/text.h"
#include "config/settings.h"

namespace quilla {

std::shared_ptr<void> create_overlay_font(const std::string& face, int32_t height) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    // At most 31 bytes make at most 31 wide characters: the face always fits.
    const std::wstring name = widen(sjis_prefix(face, kMaxFontFaceBytes));
    name.copy(lf.lfFaceName, LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&lf);
    if (!font) {
        return nullptr;
    }
    return std::shared_ptr<void>(font, [](void* f) { DeleteObject(static_cast<HFONT>(f)); });
}

std::string face_name_from_wide(const wchar_t* face) {
    const std::string name = narrow({face, wcsnlen(face, LF_FACESIZE)});
    return std::string(sjis_prefix(name, kMaxFontFaceBytes));
}

std::optional<FontDescription> describe_font(HFONT font) {
    LOGFONTW lf{};
    if (!font || GetObjectW(font, sizeof lf, &lf) != sizeof lf) {
        return std::nullopt;
    }
    return FontDescription{face_name_from_wide(lf.lfFaceName), lf.lfHeight};
}

}  // namespace quilla
