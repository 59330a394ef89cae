// Fills the version and address into the boxes' texts.
#include "update/information_text.h"

#include "base/program_texts.h"

namespace quilla {

std::string update_offer_text(std::string_view newer_version) {
    return texts::kUpdateOfferLead + std::string(newer_version) + texts::kUpdateOfferTail;
}

std::string download_address_text(std::string_view address) {
    return texts::kDownloadAddressLead + std::string(address) + texts::kDownloadAddressTail;
}

std::string version_text(std::string_view own_version) {
    return "QuillaWS\r\nversion:" + std::string(own_version);
}

}  // namespace quilla
