// Gives a normal drive or UNC full path its \\?\ or \\?\UNC\ prefix; other paths stay as given.
#include "base/file_path.h"

namespace quilla {
namespace {

bool is_letter(wchar_t c) noexcept {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Whether some step of path is "." or "..".
bool has_dot_step(std::wstring_view path) noexcept {
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = path.find(L'\\', begin);
        const std::wstring_view step = path.substr(
            begin, end == std::wstring_view::npos ? std::wstring_view::npos : end - begin);
        if (step == L"." || step == L"..") {
            return true;
        }
        if (end == std::wstring_view::npos) {
            return false;
        }
        begin = end + 1;
    }
}

}  // namespace

std::wstring extended_length_path(std::wstring_view full) {
    const bool drive =
        full.size() >= 3 && is_letter(full[0]) && full[1] == L':' && full[2] == L'\\';
    const bool unc = full.size() >= 3 && full[0] == L'\\' && full[1] == L'\\' && full[2] != L'?' &&
                     full[2] != L'.' && full[2] != L'\\';
    if ((!drive && !unc) || full.find(L'/') != std::wstring_view::npos || has_dot_step(full)) {
        return std::wstring(full);
    }
    if (drive) {
        return L"\\\\?\\" + std::wstring(full);
    }
    return L"\\\\?\\UNC\\" + std::wstring(full.substr(2));
}

}  // namespace quilla
