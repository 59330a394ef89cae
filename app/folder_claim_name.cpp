// Spells the claim names: hex digits of the volume and file identity, a hash of the path.
#include "app/folder_claim_name.h"

namespace quilla {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void append_hex(std::string& out, uint64_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += kHexDigits[(value >> shift) & 0xF];
    }
}

}  // namespace

uint64_t fnv1a_64(std::u16string_view units) {
    uint64_t hash = 14695981039346656037ull;
    for (const char16_t unit : units) {
        hash = (hash ^ static_cast<uint16_t>(unit)) * 1099511628211ull;
    }
    return hash;
}

std::string path_claim_name(std::u16string_view upper_case_path) {
    std::string name = "QuillaWS-";
    append_hex(name, fnv1a_64(upper_case_path), 16);
    return name;
}

std::string identity_claim_name(uint64_t volume_serial, const std::array<uint8_t, 16>& file_id) {
    std::string name = "QuillaWS-id-";
    append_hex(name, volume_serial, 16);
    name += '-';
    for (const uint8_t byte : file_id) {
        append_hex(name, byte, 2);
    }
    return name;
}

}  // namespace quilla
