// Fuzz target: the names of input codes. Only codes from 1 to 310 have a name, and every
// name is a short string of whole Shift-JIS characters.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "tests/support/fuzz_support.h"
#include "input/input_codes.h"

using namespace quilla;
using quilla::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    int32_t code = 0;
    std::memcpy(&code, data, std::min(size, sizeof code));
    const std::string name = input_code_name(code);
    if (!name.empty()) {
        require(code >= 1 && code <= kPadRight, "only codes from 1 to 310 are named");
        require(name.size() <= 9, "a name is short");
        require(fuzz::is_whole_sjis(name) && !fuzz::ends_in_half_character(name),
                "a name is whole characters");
    }
    if (code == kNoInput || code == kNoKey) {
        require(name.empty(), "-1 and 0 have no name");
    }
    return 0;
}
