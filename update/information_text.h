// The texts of the two boxes that the "情報" command shows.
#pragma once

#include <string>
#include <string_view>

#include "base/program_texts.h"

namespace quilla {

inline constexpr auto& kUpdateOfferCaption = texts::kUpdateOfferCaption;
inline constexpr auto& kVersionCaption = texts::kVersionCaption;

// The offer of a newer version, naming it.
std::string update_offer_text(std::string_view newer_version);

// The program's name and version.
std::string version_text(std::string_view own_version);

}  // namespace quilla
