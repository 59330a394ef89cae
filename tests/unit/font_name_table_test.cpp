// The English family name in a font's naming table: which record counts, and each way a
// table ends too early or holds no name (a bound's last byte in and first byte out).
#include "config/font_name_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace quilla {
namespace {

// Each row: header (format, count, storage), records (platform, encoding, language, name
// id, length, offset), storage.
TEST(FontNameTable, TheFirstWholeWindowsUsEnglishFamilyNameCounts) {
    const std::tuple<const char*, std::vector<uint8_t>, std::optional<std::u16string>> rows[] = {
        {"whole", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 1, 0, 4, 0, 0, 0, 'A', 0, 'b'}, u"Ab"},
        {"cut", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 1, 0, 4, 0, 0, 0, 'A', 0}, {}},
        {"offset", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 1, 0, 2, 0, 1, 0, 0, 'b'}, u"b"},
        {"storage out", {0, 0, 0, 1, 0, 21, 0, 3, 0, 1, 4, 9, 0, 1, 0, 2, 0, 0, 0, 'b'}, {}},
        {"cut record", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 1, 0, 2, 0}, {}},
        {"cut header", {0, 0, 0, 0, 0}, {}},
        {"no record", {0, 0, 0, 0, 0, 6}, {}},
        {"platform", {0, 0, 0, 1, 0, 18, 0, 1, 0, 0, 0, 0, 0, 1, 0, 2, 0, 0, 0, 'b'}, {}},
        {"language", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 17, 0, 1, 0, 2, 0, 0, 0, 'b'}, {}},
        {"name id", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 4, 0, 2, 0, 0, 0, 'b'}, {}},
        {"odd length", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 1, 0, 3, 0, 0, 0, 'b', 0}, {}},
        {"empty", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 1, 0, 0, 0, 0}, {}},
        {"zero unit", {0, 0, 0, 1, 0, 18, 0, 3, 0, 1, 4, 9, 0, 1, 0, 4, 0, 0, 0, 'b', 0, 0}, {}},
        {"second",
         {0, 0, 0, 2, 0, 30, 0, 3, 0, 1, 4, 9, 0, 1, 0, 2,
          0, 2, 0, 3, 0, 1,  4, 9, 0, 1, 0, 2, 0, 0, 0, 'b'},
         u"b"},
    };
    for (const auto& [what, table, name] : rows) {
        EXPECT_EQ(english_family_name(table), name) << what;
    }
}

}  // namespace
}  // namespace quilla
