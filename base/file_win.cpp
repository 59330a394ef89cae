// The file calls behind reading and saving: retries, temporary names, the replace and its failure.
#include "base/file_win.h"

#include "base/code_page_win.h"
#include "base/file_path.h"
#include "base/handles_win.h"
#include "base/program_texts.h"
#include "base/text.h"
#include "base/trace_win.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace quilla {
namespace {

// How many names a save tries for its temporary file before it gives up: names left by
// earlier saves that did not finish are passed over.
constexpr int kTempNameTries = 100;

// Errors of a replace that another program's hold on the file causes and that end when it
// lets go. ReplaceFileW reports the hold on the old file as 1175 on some systems; 1176
// and 1177 leave the new file whole under its temporary name (1177 the old one under the
// backup name, which is moved back), so trying again moves it.
bool held_by_another_program(DWORD error) noexcept {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
           error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

// What a failed call of a save means for the user. long_names: whether the names the save
// uses are longer than the old path limit, where a file system that holds to that limit
// reports the path as not found.
SaveFailure failure_of(DWORD error, bool long_names) noexcept {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
            return SaveFailure::kInUse;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return SaveFailure::kAccessDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return SaveFailure::kDiskFull;
        case ERROR_PATH_NOT_FOUND:
            return long_names ? SaveFailure::kPathTooLong : SaveFailure::kNoFolder;
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            return SaveFailure::kPathTooLong;
        default:
            return SaveFailure::kOther;
    }
}

bool exists(FileCalls& calls, const std::wstring& path) noexcept {
    return calls.get_attributes(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Opens the old file the way ReplaceFileW does, to learn whether another program holds it
// without letting it be deleted; false (with the error) while one does. Asking first
// leaves nothing behind, where a replace that fails half way may leave a file of its own.
bool can_replace(FileCalls& calls, const std::wstring& path) noexcept {
    UniqueFile probe(calls.create_file(path.c_str(), GENERIC_READ | DELETE | SYNCHRONIZE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(probe);
}

// What the user may have set on a file that its replacement keeps.
// (Not the archive bit: the new contents are for a backup to take.)
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Gives the file at path the kept attributes of old, where the replace did not (not every
// system's ReplaceFileW carries them over).
void keep_attributes(FileCalls& calls, const std::wstring& path, DWORD old) noexcept {
    const DWORD now = calls.get_attributes(path.c_str());
    if (now == INVALID_FILE_ATTRIBUTES || (now & kKeptAttributes) == (old & kKeptAttributes)) {
        return;
    }
    DWORD wanted = (now & ~(kKeptAttributes | FILE_ATTRIBUTE_NORMAL)) | (old & kKeptAttributes);
    check(calls.set_attributes(path.c_str(), wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL),
          "SetFileAttributesW");
}

// What a save adds to a path for its temporary and backup names, less the number and the
// ".tmp" or ".bak" (see write_temporary_file): named after the process and the thread, so
// that no other save at the same time (of this program or another copy of it) uses it.
std::wstring temporary_name_stem() {
    return L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetCurrentThreadId()) + L"-";
}

// Writes bytes to a new file named path + temporary_name_stem() + a number + ".tmp".
// Returns the name without its ".tmp", or an empty one with *error set.
std::wstring write_temporary_file(const std::wstring& path, std::string_view bytes,
                                  FileCalls& calls, DWORD* error) {
    const std::wstring stem = path + temporary_name_stem();
    for (int n = 0; n < kTempNameTries; ++n) {
        const std::wstring name = stem + std::to_wstring(n);
        const std::wstring temp = name + L".tmp";
        UniqueFile file(calls.create_file(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            *error = GetLastError();
            if (*error == ERROR_FILE_EXISTS || *error == ERROR_ALREADY_EXISTS) {
                continue;  // left by an earlier save
            }
            return {};
        }
        std::size_t done = 0;
        bool whole = true;
        while (whole && done < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
            DWORD written = 0;
            whole = calls.write_file(file.get(), bytes.data() + done, chunk, &written, nullptr) &&
                    written != 0;
            done += written;
        }
        if (!whole || !calls.flush_file(file.get())) {
            *error = GetLastError();
            file.reset();
            check(calls.delete_file(temp.c_str()), "DeleteFileW");
            return {};
        }
        return name;
    }
    return {};
}

}  // namespace

std::wstring full_path(const std::wstring& path) {
    try {
        std::wstring full(MAX_PATH, L'\0');
        for (int tries = 0; tries < 3; ++tries) {
            const DWORD got = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()),
                                               full.data(), nullptr);
            if (got == 0) {
                break;
            }
            if (got < full.size()) {
                full.resize(got);
                return full;
            }
            full.resize(got);
        }
    } catch (...) {
        trace_exception();
    }
    return path;
}

std::wstring file_system_path(const std::wstring& path) {
    return extended_length_path(full_path(path));
}

namespace {

// The volume and the file's index, or nothing when the file cannot be opened.
std::optional<std::pair<DWORD, uint64_t>> file_identity(const std::wstring& path) {
    const UniqueFile file(CreateFileW(file_system_path(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info)) {
        return std::nullopt;
    }
    return std::pair{info.dwVolumeSerialNumber,
                     (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace

bool same_file(const std::wstring& a, const std::wstring& b) noexcept {
    try {
        const auto first = file_identity(a);
        const auto second = file_identity(b);
        if (first && second) {
            return *first == *second;
        }
        const std::wstring full_a = full_path(a);
        const std::wstring full_b = full_path(b);
        return CompareStringOrdinal(full_a.c_str(), static_cast<int>(full_a.size()), full_b.c_str(),
                                    static_cast<int>(full_b.size()), TRUE) == CSTR_EQUAL;
    } catch (...) {
        trace_exception();
        return false;
    }
}

FileRead read_whole_file(const std::wstring& given_path, DWORD retry_ms, FileCalls& calls,
                         Clock& clock) noexcept {
    FileRead read;
    read.outcome = ReadOutcome::kUnreadable;
    try {
        const std::wstring path = file_system_path(given_path);
        std::string buffer(std::size_t{1} << 16, '\0');
        const uint64_t start = clock.now_ms();
        for (;;) {
            // The time a try begins decides whether another follows, so that a try begun
            // within the bound and refused is never the last however long it took.
            const uint64_t began = clock.now_ms();
            read.bytes.clear();
            const UniqueFile file(calls.create_file(
                path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
            if (!file) {
                read.error = GetLastError();
                if (read.error == ERROR_FILE_NOT_FOUND || read.error == ERROR_PATH_NOT_FOUND) {
                    read.outcome = ReadOutcome::kNotFound;
                    return read;
                }
            } else {
                for (;;) {
                    DWORD got = 0;
                    if (!calls.read_file(file.get(), buffer.data(),
                                         static_cast<DWORD>(buffer.size()), &got, nullptr)) {
                        read.error = GetLastError();
                        break;
                    }
                    if (got == 0) {  // the end of the file
                        read.outcome = ReadOutcome::kWhole;
                        read.error = ERROR_SUCCESS;
                        return read;
                    }
                    read.bytes.append(buffer, 0, std::min<std::size_t>(got, buffer.size()));
                }
            }
            if ((read.error != ERROR_SHARING_VIOLATION && read.error != ERROR_LOCK_VIOLATION) ||
                began - start >= retry_ms) {
                break;
            }
            clock.pause(kReplaceRetryIntervalMs);
        }
    } catch (...) {
        trace_exception();
        read.error = ERROR_NOT_ENOUGH_MEMORY;
    }
    read.outcome = ReadOutcome::kUnreadable;
    read.bytes.clear();
    return read;
}

FileRead read_whole_text_file(const std::wstring& path, DWORD retry_ms, FileCalls& calls,
                              Clock& clock) noexcept {
    FileRead read = read_whole_file(path, retry_ms, calls, clock);
    try {
        if (read.outcome == ReadOutcome::kWhole) {
            if (const TextFileBytes text = classify_text_file(read.bytes); text.utf8) {
                read.bytes = utf8_to_code_page(text.text);
            } else if (text.utf16 != Utf16::kNone) {
                const std::u16string units = utf16_units(text.text, text.utf16);
                read.bytes = narrow(std::wstring(units.begin(), units.end()));
            }
        }
    } catch (...) {
        trace_exception();
        read = FileRead{ReadOutcome::kUnreadable, std::string(), ERROR_NOT_ENOUGH_MEMORY};
    }
    return read;
}

namespace {

std::optional<std::string> whole_or_nothing(FileRead read) {
    if (read.outcome != ReadOutcome::kWhole) {
        return std::nullopt;
    }
    return std::move(read.bytes);
}

}  // namespace

std::optional<std::string> read_file_bytes(const std::wstring& path) {
    return whole_or_nothing(read_whole_file(path, 0));
}

std::optional<std::string> read_text_file(const std::wstring& path) {
    return whole_or_nothing(read_whole_text_file(path));
}

const char* save_failure_phrase(SaveFailure failure) noexcept {
    switch (failure) {
        case SaveFailure::kReadOnly:
            return texts::kSaveReadOnly;
        case SaveFailure::kInUse:
            return texts::kSaveInUse;
        case SaveFailure::kAccessDenied:
            return texts::kSaveAccessDenied;
        case SaveFailure::kDiskFull:
            return texts::kSaveDiskFull;
        case SaveFailure::kNoFolder:
            return texts::kSaveNoFolder;
        case SaveFailure::kPathTooLong:
            return texts::kSavePathTooLong;
        case SaveFailure::kNone:
        case SaveFailure::kOther:
            break;
    }
    return texts::kSaveOtherFailure;
}

bool replace_file_atomically(const std::wstring& given_path, std::string_view bytes,
                             SaveFailure* why, DWORD retry_ms, FileCalls& calls,
                             Clock& clock) noexcept {
    SaveFailure ignored;
    SaveFailure& failure = why ? *why : ignored;
    failure = SaveFailure::kNone;
    try {
        const std::wstring plain = full_path(given_path);
        const std::wstring path = extended_length_path(plain);
        const bool long_names = beyond_legacy_path_limit(
            plain.size() + temporary_name_stem().size() + std::size(L"0.tmp") - 1);
        // A read-only file is one the user does not want changed. Windows refuses to
        // replace it; say no at once rather than wait for the file system to.
        const DWORD attributes = calls.get_attributes(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
            failure = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? SaveFailure::kOther
                                                                   : SaveFailure::kReadOnly;
            return false;
        }
        DWORD error = ERROR_FILE_EXISTS;
        const std::wstring name = write_temporary_file(path, bytes, calls, &error);
        if (name.empty()) {
            failure = failure_of(error, long_names);
            return false;
        }
        const std::wstring temp = name + L".tmp";
        const std::wstring backup = name + L".bak";
        const uint64_t start = clock.now_ms();
        for (;;) {
            // ReplaceFileW keeps what the user set on the old file (its attributes, such
            // as hidden, and its security); a move only serves where there is none yet.
            const DWORD old = calls.get_attributes(path.c_str());
            const bool replaced =
                old != INVALID_FILE_ATTRIBUTES
                    ? can_replace(calls, path) &&
                          calls.replace_file(
                              path.c_str(), temp.c_str(), backup.c_str(),
                              REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                              nullptr, nullptr)
                    : calls.move_file(temp.c_str(), path.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            if (replaced) {
                if (old != INVALID_FILE_ATTRIBUTES) {
                    keep_attributes(calls, path, old);
                    check(calls.delete_file(backup.c_str()), "DeleteFileW");
                }
                return true;
            }
            error = GetLastError();
            // A replace stopped after moving the old file aside: it goes back under its
            // own name before anything else.
            if (!exists(calls, path) && exists(calls, backup)) {
                check(calls.move_file(backup.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH),
                      "MoveFileExW");
            }
            if (!held_by_another_program(error) || clock.now_ms() - start >= retry_ms) {
                break;
            }
            clock.pause(kReplaceRetryIntervalMs);
        }
        failure = failure_of(error, long_names);
        // A replace that failed half way may have taken the old file away already; then
        // the temporary file is the only whole copy and stays.
        if (exists(calls, path)) {
            check(calls.delete_file(temp.c_str()), "DeleteFileW");
        }
        return false;
    } catch (...) {
        trace_exception();
        failure = SaveFailure::kOther;
        return false;
    }
}

bool replace_file_atomically(const std::string& sjis_path, std::string_view bytes, SaveFailure* why,
                             DWORD retry_ms, FileCalls& calls, Clock& clock) noexcept {
    try {
        return replace_file_atomically(widen(sjis_path), bytes, why, retry_ms, calls, clock);
    } catch (...) {
        trace_exception();
        if (why) {
            *why = SaveFailure::kOther;
        }
        return false;
    }
}

}  // namespace quilla
