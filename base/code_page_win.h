// Converting between the program's Shift-JIS texts (code page 932), the wide characters
// every Windows call that carries text takes and gives, and UTF-8 files. Always code page
// 932, whatever the system's ANSI code page is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quilla {

inline constexpr unsigned kShiftJisCodePage = 932;

// Shift-JIS bytes as wide characters.
std::wstring widen(std::string_view sjis);

// Wide characters as Shift-JIS bytes; a character Shift-JIS cannot hold becomes what the
// system's conversion makes of it.
std::string narrow(std::wstring_view wide);

// Wide characters as Shift-JIS bytes when every character has a Shift-JIS form that reads
// back as itself; nothing when one has none, rather than a look-alike ("E" for "É") or
// "?", which could match another name. *unheld (when given) is then the first such
// character (a surrogate pair whole).
std::optional<std::string> narrow_exactly(std::wstring_view wide, std::wstring* unheld = nullptr);

// UTF-8 bytes as the same text in the code page (kShiftJisCodePage, or the system's ANSI
// code page); a character the code page cannot hold becomes what the system's conversion
// makes of it.
std::string utf8_to_code_page(std::string_view utf8, unsigned code_page = kShiftJisCodePage);

}  // namespace quilla
