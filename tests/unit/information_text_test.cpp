// The texts of the boxes the "情報" command shows.
#include "update/information_text.h"

#include <gtest/gtest.h>

namespace quilla {
namespace {

TEST(InformationText, GivesTheAddressToCopyAndSaysHow) {
    EXPECT_EQ(download_address_text("https://updates.example/works/QuillaWS.zip"),
              "管理者として実行しているため、ブラウザを開きませんでした。\r\n"
              "次のアドレスをブラウザで開いてください。\r\n\r\n"
              "https://updates.example/works/QuillaWS.zip\r\n\r\n"
              "(Ctrl+C でこのメッセージをコピーできます。)");
}

}  // namespace
}  // namespace quilla
