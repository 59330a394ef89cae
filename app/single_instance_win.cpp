// Opens the working folder, names its identity and final path, and takes the mutexes.
#include "app/single_instance_win.h"

#include <array>
#include <cstring>
#include <string>

#include "app/folder_claim_name.h"
#include "app/overlay_window_win.h"
#include "base/code_page_win.h"
#include "base/file_win.h"
#include "base/program_texts.h"
#include "base/trace_win.h"
#include "config/settings.h"

namespace quilla {
namespace {

std::u16string units_of(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string upper_case(std::wstring text) {
    if (!text.empty()) {
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    }
    return units_of(text);
}

// The folder's identity: the 128-bit identifier where the system has it (ReFS needs all of
// it), else the 64-bit file index. A file system that keeps no identifier reports zero.
std::string identity_name(FolderClaimCalls& calls, HANDLE folder) {
    FILE_ID_INFO id{};
    if (calls.get_file_information_ex(folder, FileIdInfo, &id, sizeof id)) {
        std::array<uint8_t, 16> bytes{};
        std::memcpy(bytes.data(), id.FileId.Identifier, bytes.size());
        if (bytes != std::array<uint8_t, 16>{}) {
            return identity_claim_name(id.VolumeSerialNumber, bytes);
        }
        return {};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!calls.get_file_information(folder, &info)) {
        return {};
    }
    const uint64_t index = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    if (index == 0) {
        return {};
    }
    // The same bytes as the 128-bit form of a 64-bit index (little-endian, then zeros).
    std::array<uint8_t, 16> bytes{};
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<uint8_t>(index >> (8 * i));
    }
    return identity_claim_name(info.dwVolumeSerialNumber, bytes);
}

// The folder's path with every alias resolved, normalized (long names); empty when the
// system cannot give it.
std::string final_path_name(FolderClaimCalls& calls, HANDLE folder) {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD got = calls.get_final_path(folder, path.data(), static_cast<DWORD>(path.size()),
                                               FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (got == 0) {
            return {};
        }
        if (got < path.size()) {
            path.resize(got);
            return path_claim_name(upper_case(path));
        }
        path.resize(got);  // too small: got is the size needed
    }
    return {};
}

// The names of this folder's claims, the identity first.
std::vector<std::string> claim_names(FolderClaimCalls& calls) {
    std::vector<std::string> names;
    // No access asked beyond the attributes, and every kind of sharing allowed: the claim
    // never stands in the way of another program's use of the folder.
    UniqueFile folder(calls.create_file(
        L".", FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder) {
        for (std::string name :
             {identity_name(calls, folder.get()), final_path_name(calls, folder.get())}) {
            if (!name.empty()) {
                names.push_back(std::move(name));
            }
        }
    }
    if (names.empty()) {
        names.push_back(path_claim_name(upper_case(full_path(widen(kSettingsFileName)))));
    }
    return names;
}

enum class Outcome { kHeld, kAnotherCopy, kOutOfReach, kRefused };

// Makes the named mutex in one namespace. A mutex another copy made with higher rights is
// out of reach (access denied) but there: it is found by opening it, which a namespace
// that refuses this program new objects does not prevent.
Outcome claim_in(FolderClaimCalls& calls, const std::wstring& name, FolderClaim& claim) {
    SetLastError(ERROR_SUCCESS);
    UniqueKernelHandle mutex(calls.create_mutex(nullptr, FALSE, name.c_str()));
    const DWORD error = GetLastError();
    if (mutex) {
        if (error == ERROR_ALREADY_EXISTS) {
            return Outcome::kAnotherCopy;
        }
        claim.mutexes.push_back(std::move(mutex));
        return Outcome::kHeld;
    }
    if (error != ERROR_ACCESS_DENIED) {
        return Outcome::kRefused;
    }
    SetLastError(ERROR_SUCCESS);
    const UniqueKernelHandle existing(calls.open_mutex(SYNCHRONIZE, FALSE, name.c_str()));
    const DWORD open_error = GetLastError();
    return existing || open_error == ERROR_ACCESS_DENIED ? Outcome::kOutOfReach : Outcome::kRefused;
}

}  // namespace

FolderClaim claim_working_directory(FolderClaimCalls& calls) {
    FolderClaim claim;
    try {
        for (const std::string& name : claim_names(calls)) {
            // Creating a mutex in the global namespace needs no privilege (file mappings
            // do); a session that refuses it anyway keeps the claim to itself.
            Outcome outcome = claim_in(calls, L"Global\\" + widen(name), claim);
            if (outcome == Outcome::kRefused) {
                outcome = claim_in(calls, L"Local\\" + widen(name), claim);
            }
            if (outcome == Outcome::kAnotherCopy || outcome == Outcome::kOutOfReach) {
                claim.another_copy_runs = true;
                claim.out_of_reach = outcome == Outcome::kOutOfReach;
                return claim;
            }
        }
    } catch (...) {
        trace_exception();
    }
    return claim;
}

bool yield_to_another_copy(FolderClaim& claim, FolderClaimCalls& calls) {
    if (!claim.another_copy_runs) {
        return false;
    }
    // Not held while the box waits for the player: a copy started meanwhile finds the
    // folder's owner, not this copy on its way out.
    claim.mutexes.clear();
    if (claim.out_of_reach) {
        try {
            check(calls.message_box(nullptr, widen(texts::kFolderOutOfReach).c_str(),
                                    widen(kOverlayTitle).c_str(),
                                    MB_OK | MB_ICONWARNING | MB_SETFOREGROUND) != 0,
                  "MessageBoxW");
        } catch (...) {
            trace_exception();
        }
    }
    return true;
}

}  // namespace quilla
