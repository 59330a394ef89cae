// The release package as a player gets it: the QuillaWS.exe unpacked from the zip runs
// from its own folder and keeps its settings there, and the guide beside it names every
// command of the context menu and every key of the settings file. tools/test makes the
// package, unpacks it and names the folder in QUILLA_PACKAGE_DIR.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/context_menu_win.h"
#include "app/overlay_window_win.h"
#include "config/settings.h"
#include "tests/e2e/e2e_support_win.h"

namespace quilla::e2e {
namespace {

// The unpacked QuillaWS folder, or empty when no package was named.
std::string package_dir() {
    const char* dir = std::getenv("QUILLA_PACKAGE_DIR");
    return dir && *dir ? to_windows_path(dir) : std::string();
}

// Shift-JIS text as UTF-8, the guide's encoding.
std::string utf8_from_sjis(const std::string& sjis) {
    const int wide_size = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(),
                                              static_cast<int>(sjis.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, sjis.data(), static_cast<int>(sjis.size()),
                        wide.data(), wide_size);
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

// Whether text holds key ("Font=") as a word of its own: not the end of a longer key
// ("FontSize=", or "hookKey=" for "y=").
bool names_key(const std::string& text, const std::string& key) {
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        const unsigned char before = at > 0 ? static_cast<unsigned char>(text[at - 1]) : ' ';
        if (!std::isalnum(before)) {
            return true;
        }
    }
    return false;
}

// Every caption of a menu and its submenus, separators left out.
void collect_captions(HMENU menu, std::vector<std::string>& captions) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
        if (info.fType & MFT_SEPARATOR) {
            continue;
        }
        captions.emplace_back(text);
        if (info.hSubMenu) {
            collect_captions(info.hSubMenu, captions);
        }
    }
}

TEST(Package, UnpackedProgramKeepsItsSettingsBesideItself) {
    const std::string dir = package_dir();
    if (dir.empty()) {
        GTEST_SKIP() << "QUILLA_PACKAGE_DIR names no unpacked package (tools/test sets it)";
    }
    const std::string settings = dir + "\\" + kSettingsFileName;
    DeleteFileA(settings.c_str());  // left by an earlier run in the same folder
    ASSERT_FALSE(read_file(settings).has_value());

    ChildProcess program(dir + "\\QuillaWS.exe", {}, dir);
    ASSERT_TRUE(program.started()) << program.error();
    HWND overlay = nullptr;
    ASSERT_TRUE(wait_until([&] {
        return (overlay = program.find_own_window(kOverlayClassName)) != nullptr;
    })) << "the overlay window of the unpacked program did not appear";
    PostMessageA(overlay, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.wait_exit(30000), 0u) << "the unpacked program did not exit cleanly";
    const auto written = read_file(settings);
    ASSERT_TRUE(written.has_value()) << "no " << kSettingsFileName << " beside the program";
    SettingsValues defaults_at_origin;
    defaults_at_origin.x = 0;
    defaults_at_origin.y = 0;
    EXPECT_EQ(*written, format_settings(defaults_at_origin));
}

TEST(Package, GuideNamesEveryMenuCaptionAndSettingsKey) {
    const std::string dir = package_dir();
    if (dir.empty()) {
        GTEST_SKIP() << "QUILLA_PACKAGE_DIR names no unpacked package (tools/test sets it)";
    }
    const auto guide = read_file(dir + "\\readme.txt");
    ASSERT_TRUE(guide.has_value()) << "no guide readme.txt in the package";
    // Notepad's signs of UTF-8 and Windows line ends.
    EXPECT_EQ(guide->substr(0, 3), "\xEF\xBB\xBF");
    for (std::size_t lf = guide->find('\n'); lf != std::string::npos;
         lf = guide->find('\n', lf + 1)) {
        ASSERT_TRUE(lf > 0 && (*guide)[lf - 1] == '\r') << "a line of the guide ends in LF alone";
    }

    std::vector<std::string> captions;
    const UniqueMenu menu = build_context_menu();
    ASSERT_TRUE(menu);
    collect_captions(menu.get(), captions);
    ASSERT_FALSE(captions.empty());
    for (const std::string& caption : captions) {
        EXPECT_NE(guide->find(utf8_from_sjis(caption)), std::string::npos)
            << "the guide does not name the menu command " << utf8_from_sjis(caption);
    }

    // The keys as the program writes them, each with its "=".
    const std::string lines = format_settings(SettingsValues{});
    std::size_t keys = 0;
    for (std::size_t start = 0; start < lines.size(); start = lines.find('\n', start) + 1) {
        const std::string key = lines.substr(start, lines.find('=', start) + 1 - start);
        ++keys;
        EXPECT_TRUE(names_key(*guide, key)) << "the guide does not name the setting " << key;
    }
    EXPECT_GT(keys, 0u);
}

}  // namespace
}  // namespace quilla::e2e
