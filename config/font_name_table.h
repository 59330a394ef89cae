// A font's English family name, read from the naming table the font file carries. Windows
// lists faces under their names in its display language, and a face can be asked for by
// its English family name on a Windows of any language, so that name is the one to keep
// when the listed name cannot be kept.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quilla {

// The family name (name id 1) for Windows (platform 3) in US English (language 0x0409),
// from the bytes of a font's 'name' table, as UTF-16 code units; the first such record
// whose string is whole. Nothing when no record is: a string that is empty, holds an odd
// number of bytes or a zero unit, or reaches past the table's end does not count, and
// records past the end are not read.
std::optional<std::u16string> english_family_name(std::span<const uint8_t> table);

}  // namespace quilla
