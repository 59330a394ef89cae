// The names of the claims one copy of the program holds on its folder: named objects that
// every copy started in the same folder names alike, however the folder was spelled.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quilla {

// 64-bit FNV-1a over UTF-16 code units, each unit taken whole.
uint64_t fnv1a_64(std::u16string_view units);

// The claim named by a path: the FNV-1a hash of its UTF-16 units, as 16 lower-case hex
// digits after "QuillaWS-". The caller brings the path in the case the file system ignores
// (upper case), so that spellings differing only in case name one claim.
std::string path_claim_name(std::u16string_view upper_case_path);

// The claim named by what the file system says the folder is: its volume's serial number
// (16 hex digits) and its 128-bit file identifier (32 hex digits, byte by byte in the order
// the file system gives them), after "QuillaWS-id-".
std::string identity_claim_name(uint64_t volume_serial, const std::array<uint8_t, 16>& file_id);

}  // namespace quilla
