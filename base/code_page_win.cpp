// Converting between Shift-JIS, wide characters and UTF-8.
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

std::wstring to_wide(UINT code_page, std::string_view bytes,
                     std::size_t (*piece)(std::string_view) noexcept) {
    std::wstring wide;
    while (!bytes.empty()) {
        const std::size_t length = piece(bytes);
        const int in = static_cast<int>(length);
        const int size = MultiByteToWideChar(code_page, 0, bytes.data(), in, nullptr, 0);
        if (size > 0) {
            const std::size_t at = wide.size();
            wide.resize(at + static_cast<std::size_t>(size));
            MultiByteToWideChar(code_page, 0, bytes.data(), in, wide.data() + at, size);
        }
        bytes.remove_prefix(length);
    }
    return wide;
}

}  // namespace

std::wstring widen(std::string_view sjis) {
    return to_wide(kShiftJisCodePage, sjis, &sjis_piece);
}

std::string narrow(std::wstring_view wide) {
    std::string bytes;
    while (!wide.empty()) {
        const std::size_t length = wide_piece(wide);
        const int in = static_cast<int>(length);
        const int size = WideCharToMultiByte(kShiftJisCodePage, 0, wide.data(), in, nullptr, 0,
                                             nullptr, nullptr);
        if (size > 0) {
            const std::size_t at = bytes.size();
            bytes.resize(at + static_cast<std::size_t>(size));
            WideCharToMultiByte(kShiftJisCodePage, 0, wide.data(), in, bytes.data() + at, size,
                                nullptr, nullptr);
        }
        wide.remove_prefix(length);
    }
    return bytes;
}

std::string utf8_to_shift_jis(std::string_view utf8) {
    return narrow(to_wide(CP_UTF8, utf8, &utf8_piece));
}

}  // namespace quilla
