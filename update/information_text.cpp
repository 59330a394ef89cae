// The texts of the two boxes that the "情報" command shows.
#include "update/information_text.h"

namespace quilla {

std::string update_offer_text(std::string_view newer_version) {
    return "新たなバージョンが見つかりました。\r\n" + std::string(newer_version) +
           "\r\nダウンロードしますか？\r\n(ブラウザが起動してZIPファイルをダウンロードします。"
           "\r\n解凍等は各自お願いします。)";
}

std::string version_text(std::string_view own_version) {
    return "QuillaWS\r\nversion:" + std::string(own_version);
}

}  // namespace quilla
