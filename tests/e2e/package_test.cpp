// The release package as a player gets it: the QuillaWS.exe unpacked from the zip runs
// from its own folder and keeps its settings there, carries its icon and the manifest's
// Windows versions and long paths, and the guide beside it names every command of the context menu
// and every key of the settings file; the guide and the changes name the version. tools/test makes
// the package, unpacks it and names the folder in QUILLA_PACKAGE_DIR.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/context_menu_win.h"
#include "app/overlay_window_win.h"
#include "base/version.h"
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

// A resource of the program's file as bytes, or empty when there is none.
std::string resource_bytes(HMODULE module, const char* type, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(module, found))
                : std::string();
}

#pragma pack(push, 2)
struct IconGroupEntry {  // GRPICONDIRENTRY, as an icon group resource holds it
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(Package, TheProgramCarriesItsIconAndItsWindowsVersions) {
    const std::string dir = package_dir();
    if (dir.empty()) {
        GTEST_SKIP() << "QUILLA_PACKAGE_DIR names no unpacked package (tools/test sets it)";
    }
    const std::string exe = dir + "\\QuillaWS.exe";
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << "cannot open " << exe << " as a data file";

    // Icon group 1, the lowest id, which Explorer shows: one 32-bit image a size.
    const std::string group = resource_bytes(module, RT_GROUP_ICON, 1);
    ASSERT_GE(group.size(), 6u) << "no icon group 1";
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, sizeof count);
    ASSERT_EQ(group.size(), 6 + count * sizeof(IconGroupEntry));
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        IconGroupEntry entry{};
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bits, 32);
        sizes.push_back(entry.width);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
    for (int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        HICON icon =
            static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        ASSERT_TRUE(info.hbmColor && GetObjectA(info.hbmColor, sizeof colour, &colour));
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }

    const std::string manifest = resource_bytes(module, RT_MANIFEST, 1);
    const struct {
        const char* windows;
        const char* id;
    } versions[] = {
        {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
        {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
        {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
        {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    };
    for (const auto& v : versions) {
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + v.id + "\"/>"),
                  std::string::npos)
            << "the manifest does not name Windows " << v.windows;
    }
    EXPECT_NE(manifest.find("<longPathAware "
                            "xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true"
                            "</longPathAware>"),
              std::string::npos)
        << "the manifest does not take paths longer than MAX_PATH";
    FreeLibrary(module);
}

// The title is the first line after the byte-order mark and any rule line above it; the
// packager fills in the version and the release date.
TEST(Package, TheGuideAndTheChangesNameTheVersionInTheirTitle) {
    const std::string dir = package_dir();
    if (dir.empty()) {
        GTEST_SKIP() << "QUILLA_PACKAGE_DIR names no unpacked package (tools/test sets it)";
    }
    for (const char* name : {"readme.txt", "history.txt"}) {
        SCOPED_TRACE(name);
        const auto text = read_file(dir + "\\" + name);
        ASSERT_TRUE(text.has_value());
        const std::size_t title = text->find_first_not_of("\xEF\xBB\xBF=\r\n");
        ASSERT_NE(title, std::string::npos);
        const std::string line = text->substr(title, text->find('\r', title) - title);
        EXPECT_NE(line.find(std::string(" ") + kProgramVersion), std::string::npos) << line;
        for (const char* placeholder : {"@VERSION@", "@RELEASE_DATE@"}) {
            EXPECT_EQ(text->find(placeholder), std::string::npos) << placeholder << " is left";
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
