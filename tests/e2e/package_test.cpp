// The release package as a player gets it: the QuillaWS.exe unpacked from the zip runs
// from its own folder and keeps its settings there, carries its icon and the manifest's
// Windows versions and long paths; the guide beside it stays short and points to the
// reference, and the two together name every command of the context menu, every caption of
// the configuration dialog and every key of the settings file; the guide, the reference and
// the changes name the version. tools/test makes the package, unpacks it and names the folder
// in QUILLA_PACKAGE_DIR.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/context_menu_items.h"
#include "app/overlay_window_win.h"
#include "base/program_texts.h"
#include "base/version.h"
#include "config/config_rules.h"
#include "config/settings.h"
#include "tools/launch/process_win.h"

namespace quilla::e2e {
namespace {

// The unpacked QuillaWS folder, or empty when no package was named.
std::string package_dir() {
    const char* dir = std::getenv("QUILLA_PACKAGE_DIR");
    return dir && *dir ? launch::to_windows_path(dir) : std::string();
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

// Every caption of a menu table and of the submenus its items open, separators left out.
void collect_captions(std::span<const MenuItem> items, std::vector<std::string>& captions) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItemKind::kSeparator) {
            continue;
        }
        captions.emplace_back(item.caption);
        collect_captions(submenu_items(item.id), captions);
    }
}

// The unpacked package's text file name, or nothing when it is missing.
std::optional<std::string> package_text(const std::string& dir, const char* name) {
    return launch::read_file(dir + "\\" + name);
}

// The number of lines of a CR LF text (a last line without its end counts too).
std::size_t line_count(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    const bool unended = !text.empty() && !text.ends_with("\r\n");
    return lines + (unended ? 1 : 0);
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
    for (const char* name : {"readme.txt", "reference.txt", "history.txt"}) {
        SCOPED_TRACE(name);
        const auto text = package_text(dir, name);
        ASSERT_TRUE(text.has_value());
        const std::size_t title = text->find_first_not_of("\xEF\xBB\xBF=\r\n");
        ASSERT_NE(title, std::string::npos);
        const std::string line = text->substr(title, text->find('\r', title) - title);
        EXPECT_NE(line.find(std::string(" ") + kProgramVersion), std::string::npos) << line;
        for (const char* placeholder : {"@VERSION@", "@RELEASE_DATE@", "@CONTACT@"}) {
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
    ASSERT_FALSE(launch::read_file(settings).has_value());

    launch::ChildProcess program(dir + "\\QuillaWS.exe", {}, dir);
    ASSERT_TRUE(program.started()) << program.error();
    HWND overlay = nullptr;
    ASSERT_TRUE(launch::wait_until([&] {
        return (overlay = program.find_own_window(kOverlayClassName)) != nullptr;
    })) << "the overlay window of the unpacked program did not appear";
    PostMessageA(overlay, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.wait_exit(30000), 0u) << "the unpacked program did not exit cleanly";
    const auto written = launch::read_file(settings);
    ASSERT_TRUE(written.has_value()) << "no " << kSettingsFileName << " beside the program";
    SettingsValues defaults_at_origin;
    defaults_at_origin.x = 0;
    defaults_at_origin.y = 0;
    EXPECT_EQ(*written, format_settings(defaults_at_origin));
}

TEST(Package, TheReferenceNamesEveryMenuCaptionAndControlAndTheGuidesEverySettingsKey) {
    const std::string dir = package_dir();
    if (dir.empty()) {
        GTEST_SKIP() << "QUILLA_PACKAGE_DIR names no unpacked package (tools/test sets it)";
    }
    const auto guide = package_text(dir, "readme.txt");
    ASSERT_TRUE(guide.has_value()) << "no guide readme.txt in the package";
    const auto reference = package_text(dir, "reference.txt");
    ASSERT_TRUE(reference.has_value()) << "no reference.txt in the package";
    // Notepad's signs of UTF-8 and Windows line ends, in both.
    for (const std::string* text : {&*guide, &*reference}) {
        EXPECT_EQ(text->substr(0, 3), "\xEF\xBB\xBF");
        for (std::size_t lf = text->find('\n'); lf != std::string::npos;
             lf = text->find('\n', lf + 1)) {
            ASSERT_TRUE(lf > 0 && (*text)[lf - 1] == '\r') << "a line ends in LF alone";
        }
    }
    const std::string both = *guide + *reference;

    // The menu's captions as the program's own tables hold them, submenus included.
    std::vector<std::string> captions;
    collect_captions(kMainMenuItems, captions);
    ASSERT_EQ(captions.size(), 19u);  // 9 main, 7 display, 3 position
    // The configuration dialog's painted labels and buttons.
    for (const PaintedLabel& label : kPaintedLabels) {
        captions.emplace_back(label.text);
    }
    for (const PaintedSpot& spot : kPaintedSpots) {
        if (spot.caption) {
            captions.emplace_back(spot.caption);
        }
    }
    // The item editor's controls and the menu on its list.
    for (const char* control :
         {texts::kItemEditorTitle, texts::kItemFileNameCue, texts::kSave, texts::kLoad,
          texts::kWeapon, texts::kShield, texts::kWeaponSeal, texts::kShieldSeal,
          texts::kSearchTextCue, texts::kSearch, texts::kNext, texts::kReset, texts::kApply,
          texts::kNameColumn, texts::kSlotsColumn, texts::kDeleteEntry}) {
        captions.emplace_back(control);
    }
    for (const std::string& caption : captions) {
        EXPECT_NE(reference->find(utf8_from_sjis(caption)), std::string::npos)
            << "the reference does not name " << utf8_from_sjis(caption);
    }

    // Every key of the settings file, each with its "=".
    for (const SettingKey& setting : kSettingKeys) {
        const std::string key = std::string(setting.key) + "=";
        EXPECT_TRUE(names_key(both, key)) << "neither the guide nor the reference names " << key;
    }
}

// The guide is what a player reads first: at most 250 lines, the rest in the reference,
// which it names.
TEST(Package, TheGuideStaysShortAndPointsToTheReference) {
    const std::string dir = package_dir();
    if (dir.empty()) {
        GTEST_SKIP() << "QUILLA_PACKAGE_DIR names no unpacked package (tools/test sets it)";
    }
    const auto guide = package_text(dir, "readme.txt");
    ASSERT_TRUE(guide.has_value()) << "no guide readme.txt in the package";
    EXPECT_LE(line_count(*guide), 250u);
    EXPECT_NE(guide->find("reference.txt"), std::string::npos);
}

}  // namespace
}  // namespace quilla::e2e
