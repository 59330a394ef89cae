// CreateFontIndirectW for the overlay font, held by a shared pointer that deletes it; the
// system's faces under names the settings file keeps, and which of them a saved face gives.
#include "config/overlay_font_win.h"

#include <algorithm>
#include <cwchar>
#include <set>
#include <string_view>

#include "base/code_page_win.h"
#include "base/handles_win.h"
#include "base/text.h"
#include "base/trace_win.h"
#include "config/font_name_table.h"
#include "config/settings.h"

namespace quilla {
namespace {

// The naming table's tag as GetFontData takes it: "name", its letters in file order.
constexpr DWORD kNameTableTag = 0x656D616E;

std::wstring_view face_field(const LOGFONTW& font) noexcept {
    return {font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE)};
}

// What the system calls the font selected into a DC, and the English family name read
// from the font itself ('@' first when the system's name has it; empty when it has none).
struct SelectedFace {
    std::wstring name;
    std::wstring english;

    // The same for one font whatever language its name was asked in.
    const std::wstring& identity() const noexcept { return english.empty() ? name : english; }
};

SelectedFace selected_face(HDC dc, FontFaceCalls& calls) {
    SelectedFace face{calls.face_name(dc), {}};
    if (const std::optional<std::u16string> english = english_family_name(calls.name_table(dc))) {
        face.english.assign(english->begin(), english->end());
        if (face.name.starts_with(L'@')) {
            face.english.insert(0, 1, L'@');
        }
    }
    return face;
}

// selected_face of the font while it is selected into dc; nothing without a font.
std::optional<SelectedFace> face_of(HDC dc, HFONT font, FontFaceCalls& calls) {
    if (!font) {
        trace_failure("CreateFontIndirectW");
        return std::nullopt;
    }
    const SelectGuard selected(dc, font);
    if (!selected.ok()) {
        trace_failure("SelectObject");
        return std::nullopt;
    }
    return selected_face(dc, calls);
}

// The name as the settings file keeps it when it keeps it whole.
std::optional<std::string> kept_whole(std::wstring_view face) {
    std::optional<std::string> name = narrow_exactly(face);
    if (!name || name->empty() || name->size() > kMaxFontFaceBytes) {
        return std::nullopt;
    }
    return name;
}

int CALLBACK collect_face(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) {
    try {
        reinterpret_cast<std::vector<LOGFONTW>*>(list)->push_back(*font);
        return 1;
    } catch (...) {
        trace_exception();
        return 0;  // out of memory: the list stops here
    }
}

}  // namespace

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
    if (!font || !check(GetObjectW(font, sizeof lf, &lf) == sizeof lf, "GetObjectW")) {
        return std::nullopt;
    }
    return FontDescription{face_name_from_wide(lf.lfFaceName), lf.lfHeight};
}

std::vector<LOGFONTW> FontFaceCalls::faces(HDC dc) {
    std::vector<LOGFONTW> fonts;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &query, &collect_face, reinterpret_cast<LPARAM>(&fonts), 0);
    return fonts;
}

std::wstring FontFaceCalls::face_name(HDC dc) {
    wchar_t name[LF_FACESIZE] = {};
    if (!check(GetTextFaceW(dc, LF_FACESIZE, name) != 0, "GetTextFaceW")) {
        return {};
    }
    return std::wstring(name, wcsnlen(name, LF_FACESIZE));
}

std::vector<uint8_t> FontFaceCalls::name_table(HDC dc) {
    const DWORD size = GetFontData(dc, kNameTableTag, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0) {
        return {};  // a font without tables (a raster font)
    }
    std::vector<uint8_t> table(size);
    if (!check(GetFontData(dc, kNameTableTag, 0, table.data(), size) == size, "GetFontData")) {
        return {};
    }
    return table;
}

std::vector<ListedFace> listed_faces(FontFaceCalls& calls) {
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!check(dc.get() != nullptr, "CreateCompatibleDC")) {
        return {};
    }
    std::vector<ListedFace> faces;
    std::set<std::wstring> seen;  // upper-cased: one entry per face whatever its letter case
    for (const LOGFONTW& font : calls.faces(dc.get())) {
        std::wstring key(face_field(font));
        CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
        if (!seen.insert(std::move(key)).second) {
            continue;  // listed again for another character set
        }
        std::optional<std::string> name = kept_whole(face_field(font));
        if (!name) {
            const UniqueFont made(CreateFontIndirectW(&font));
            if (const std::optional<SelectedFace> face = face_of(dc.get(), made.get(), calls)) {
                name = kept_whole(face->english);
            }
        }
        if (name) {
            faces.push_back({std::move(*name), font});
        }
    }
    return faces;
}

std::optional<std::size_t> saved_face_index(const std::vector<ListedFace>& faces,
                                            const std::string& saved, FontFaceCalls& calls) {
    const auto named = std::ranges::find(faces, saved, &ListedFace::name);
    if (named != faces.end()) {
        return static_cast<std::size_t>(named - faces.begin());
    }
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!check(dc.get() != nullptr, "CreateCompatibleDC")) {
        return std::nullopt;
    }
    const std::shared_ptr<void> overlay_font = create_overlay_font(saved, 0);
    const std::optional<SelectedFace> target = face_of(dc.get(), font_handle(overlay_font), calls);
    if (!target || target->identity().empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const UniqueFont made(CreateFontIndirectW(&faces[i].font));
        const std::optional<SelectedFace> face = face_of(dc.get(), made.get(), calls);
        if (face && face->identity() == target->identity()) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace quilla
