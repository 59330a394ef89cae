// The texts of the boxes that the "情報" command shows.
#pragma once

#include <string>
#include <string_view>

#include "base/program_texts.h"

namespace quilla {

inline constexpr auto& kUpdateOfferCaption = texts::kUpdateOfferCaption;
inline constexpr auto& kVersionCaption = texts::kVersionCaption;

// The offer of a newer version, naming it.
std::string update_offer_text(std::string_view newer_version);

// The download address, to be opened by the player, when the program runs with
// administrator rights and could not have the desktop open it.
std::string download_address_text(std::string_view address);

// The program's name and version.
std::string version_text(std::string_view own_version);

}  // namespace quilla
