// MultiByteToWideChar and WideCharToMultiByte in pieces that end on whole characters.
#include "base/code_page_win.h"

#include <windows.h>

#include "base/text.h"

namespace quilla {
namespace {

// The conversion calls take int lengths: a longer text is converted in pieces of at most
// this many units, each ending on a whole character.
constexpr std::size_t kPiece = std::size_t{1} << 20;

// The length of the first piece of UTF-8 text: not before a continuation byte.
std::size_t utf8_piece(std::string_view text) noexcept {
    if (text.size() <= kPiece) {
        return text.size();
    }
    std::size_t end = kPiece;
    for (int back = 0; back < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80; ++back) {
        --end;
    }
    return end;
}

// The length of the first piece of Shift-JIS text: not after a lone lead byte.
std::size_t sjis_piece(std::string_view text) noexcept {
    return text.size() <= kPiece ? text.size() : sjis_prefix(text, kPiece).size();
}

// The length of the first piece of wide text: not between the halves of a surrogate pair.
std::size_t wide_piece(std::wstring_view text) noexcept {
    if (text.size() <= kPiece) {
        return text.size();
    }
    const wchar_t next = text[kPiece];
    return next >= 0xDC00 && next <= 0xDFFF ? kPiece - 1 : kPiece;
}

// Converts text piece by piece: convert(in, in_length, out, out_size) is the system's call,
// asked first for the size (out null) and then to write.
template <typename Out, typename In, typename Piece, typename Convert>
Out convert_in_pieces(In text, Piece piece, Convert convert) {
    Out out;
    while (!text.empty()) {
        const std::size_t length = piece(text);
        const int in = static_cast<int>(length);
        const int size = convert(text.data(), in, nullptr, 0);
        if (size > 0) {
            const std::size_t at = out.size();
            out.resize(at + static_cast<std::size_t>(size));
            convert(text.data(), in, out.data() + at, size);
        }
        text.remove_prefix(length);
    }
    return out;
}

std::wstring to_wide(UINT code_page, std::string_view bytes,
                     std::size_t (*piece)(std::string_view) noexcept) {
    return convert_in_pieces<std::wstring>(
        bytes, piece, [code_page](const char* in, int length, wchar_t* out, int size) {
            return MultiByteToWideChar(code_page, 0, in, length, out, size);
        });
}

std::string from_wide(UINT code_page, std::wstring_view wide, DWORD flags = 0) {
    return convert_in_pieces<std::string>(
        wide, &wide_piece, [code_page, flags](const wchar_t* in, int length, char* out, int size) {
            return WideCharToMultiByte(code_page, flags, in, length, out, size, nullptr, nullptr);
        });
}

// Whether wide has a Shift-JIS form that reads back as the same characters: no best-fit
// look-alike and no default character.
bool held_exactly(std::wstring_view wide, std::string* sjis) {
    *sjis = from_wide(kShiftJisCodePage, wide, WC_NO_BEST_FIT_CHARS);
    return to_wide(kShiftJisCodePage, *sjis, &sjis_piece) == wide;
}

}  // namespace

std::wstring widen(std::string_view sjis) {
    return to_wide(kShiftJisCodePage, sjis, &sjis_piece);
}

std::string narrow(std::wstring_view wide) {
    return from_wide(kShiftJisCodePage, wide);
}

std::optional<std::string> narrow_exactly(std::wstring_view wide, std::wstring* unheld) {
    std::string sjis;
    if (held_exactly(wide, &sjis)) {
        return sjis;
    }
    if (unheld) {
        // The first character that is not held, tried one at a time.
        for (std::size_t i = 0; i < wide.size();) {
            const bool pair = i + 1 < wide.size() && wide[i] >= 0xD800 && wide[i] <= 0xDBFF &&
                              wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
            const std::wstring_view one = wide.substr(i, pair ? 2 : 1);
            std::string ignored;
            if (!held_exactly(one, &ignored)) {
                *unheld = std::wstring(one);
                break;
            }
            i += one.size();
        }
    }
    return std::nullopt;
}

std::string utf8_to_code_page(std::string_view utf8, unsigned code_page) {
    return from_wide(code_page, to_wide(CP_UTF8, utf8, &utf8_piece));
}

}  // namespace quilla
