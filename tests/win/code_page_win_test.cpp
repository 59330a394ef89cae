// Narrowing a name typed in wide characters: exactly, or not at all.
#include "base/code_page_win.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quilla {
namespace {

// A character with a Shift-JIS form that reads back as itself narrows (the full-width
// tilde the Japanese input method types among them); one without (a Latin letter with an
// accent, the wave dash, a letter outside the basic plane) gives nothing and is named,
// never a look-alike or "?".
TEST(NarrowExactly, NarrowsOnlyWhatShiftJisHoldsAndNamesTheFirstLetterItCannot) {
    const struct {
        const wchar_t* wide;
        std::optional<std::string> sjis;
        const wchar_t* unheld;
    } cases[] = {
        {L"", std::string(), L""},
        {L"Epee", std::string("Epee"), L""},
        {L"\u9244\u306e\u5263", std::string("\x93\x53\x82\xcc\x8c\x95"), L""},  // 鉄の剣
        {L"a\uff5e", std::string("a\x81\x60"), L""},                            // full-width tilde
        {L"\u00c9p\u00e9e", std::nullopt, L"\u00c9"},                           // Épée
        {L"\u5263\u301c", std::nullopt, L"\u301c"},                             // wave dash
        {L"x\U0001F600y", std::nullopt, L"\U0001F600"},  // a pair, named whole
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.wide)));
        std::wstring unheld;
        EXPECT_EQ(narrow_exactly(c.wide, &unheld), c.sjis);
        EXPECT_EQ(unheld, c.unheld);
    }
}

}  // namespace
}  // namespace quilla
