// Fuzz target: the settings reader. Any bytes read as "QuillaWS.txt", written back and
// read again give the same settings; values stay in their ranges; and a file of whole
// Shift-JIS characters never yields a text that ends in half of one.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/settings.h"
#include "tests/support/fuzz_support.h"

using namespace quilla;
using quilla::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SettingsValues read = parse_settings(bytes);
    require(read.record.wait > 0, "Wait is positive");
    require(read.font_face.size() <= kMaxFontFaceBytes, "the face fits 31 bytes");
    require(!fuzz::ends_in_half_character(read.font_face), "the face ends on a whole character");

    const SettingsValues again = parse_settings(format_settings(read));
    require(again == read, "write then read gives the same settings");

    if (fuzz::is_whole_sjis(bytes)) {
        for (const std::string* text :
             {&read.record.weapon_text, &read.record.shield_text, &read.record.amulet_text}) {
            require(!fuzz::ends_in_half_character(*text), "a text ends on a whole character");
        }
    }
    return 0;
}
