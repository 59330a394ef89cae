// The overlay font: created from a face name and a height, shared between the primary
// thread and the render worker, deleted by whoever lets go of it last. And the faces the
// configuration dialog offers for it, each under a name the settings file can keep.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/seam.h"

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

// The system's faces, and what it tells of the font selected into a DC. Tests answer with
// faces, names and naming tables of their own: only a Windows in another language lists
// faces under names that Shift-JIS cannot hold.
class FontFaceCalls {
  public:
    virtual ~FontFaceCalls() = default;
    // Every face of every character set, in the system's order (EnumFontFamiliesExW); those
    // listed so far when memory runs out.
    virtual std::vector<LOGFONTW> faces(HDC dc);
    // The font's name as the system gives it (GetTextFaceW); empty when it gives none.
    virtual std::wstring face_name(HDC dc);
    // The font's naming table (GetFontData); empty when it has none (a raster font).
    virtual std::vector<uint8_t> name_table(HDC dc);
};

// A face as the dialog offers it: the name the settings file keeps, and the font as the
// system listed it.
struct ListedFace {
    std::string name;
    LOGFONTW font;
};

// Every face of every character set, each once (letter case aside), in the system's order,
// under a name Shift-JIS holds whole in kMaxFontFaceBytes: its listed name when it can be
// so held, else its English family name read from the font ('@' first for a vertical
// face). A face with neither is left out.
std::vector<ListedFace> listed_faces(FontFaceCalls& calls = system_calls<FontFaceCalls>());

// The entry of faces that shows the overlay's face saved: the entry of that very name, else
// the first entry whose font is the one the overlay gets from saved (create_overlay_font):
// the same English family name read from both fonts, or where a font holds none, the same
// face name as the system gives it. Nothing when no entry is.
std::optional<std::size_t> saved_face_index(const std::vector<ListedFace>& faces,
                                            const std::string& saved,
                                            FontFaceCalls& calls = system_calls<FontFaceCalls>());

}  // namespace quilla
