// The extended-length form of a path and the old path limit.
#include "base/file_path.h"

#include <gtest/gtest.h>

#include <string>

namespace quilla {
namespace {

TEST(ExtendedLengthPath, OnlyAFullNormalisedDriveOrNetworkPathTakesTheForm) {
    const struct {
        const wchar_t* path;
        const wchar_t* given;
    } cases[] = {
        {L"C:\\Games\\QuillaWS.txt", L"\\\\?\\C:\\Games\\QuillaWS.txt"},
        {L"z:\\tmp\\a", L"\\\\?\\z:\\tmp\\a"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"\\\\server\\share\\Games\\QuillaWS.txt",
         L"\\\\?\\UNC\\server\\share\\Games\\QuillaWS.txt"},
        {L"C:\\Games\\...\\a", L"\\\\?\\C:\\Games\\...\\a"},  // a name of three dots, no step
        {L"C:\\Games\\.hidden", L"\\\\?\\C:\\Games\\.hidden"},
        // Given as they are:
        {L"QuillaWS.txt", L"QuillaWS.txt"},
        {L"Games\\QuillaWS.txt", L"Games\\QuillaWS.txt"},
        {L"C:QuillaWS.txt", L"C:QuillaWS.txt"},
        {L"\\Games\\QuillaWS.txt", L"\\Games\\QuillaWS.txt"},
        {L"1:\\Games", L"1:\\Games"},
        {L"\\\\?\\C:\\Games\\QuillaWS.txt", L"\\\\?\\C:\\Games\\QuillaWS.txt"},
        {L"\\\\?\\UNC\\server\\share\\a", L"\\\\?\\UNC\\server\\share\\a"},
        {L"\\\\.\\CON", L"\\\\.\\CON"},
        {L"\\\\\\server", L"\\\\\\server"},
        {L"C:/Games/QuillaWS.txt", L"C:/Games/QuillaWS.txt"},
        {L"C:\\Games\\.\\QuillaWS.txt", L"C:\\Games\\.\\QuillaWS.txt"},
        {L"C:\\Games\\..\\QuillaWS.txt", L"C:\\Games\\..\\QuillaWS.txt"},
        {L"C:\\Games\\..", L"C:\\Games\\.."},
        {L"", L""},
    };
    int row = 0;
    for (const auto& c : cases) {
        EXPECT_TRUE(extended_length_path(c.path) == c.given) << "row " << row;
        ++row;
    }
}

TEST(LegacyPathLimit, AtMostTwoHundredFiftyNineCharacters) {
    EXPECT_FALSE(beyond_legacy_path_limit(0));
    EXPECT_FALSE(beyond_legacy_path_limit(259));
    EXPECT_TRUE(beyond_legacy_path_limit(260));
    EXPECT_TRUE(beyond_legacy_path_limit(32767));
}

}  // namespace
}  // namespace quilla
