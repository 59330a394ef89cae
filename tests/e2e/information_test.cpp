// The 情報 command of the running program, with QUILLA_UPDATE_SERVER naming a local
// worklist: the offer of the newer version, then the version box once nothing answers.
#include <windows.h>

#include <memory>
#include <string>

#include "app/command_ids.h"
#include "tests/e2e/overlay_fixture_win.h"
#include "tests/support/message_box_win.h"
#include "tests/support/worklist_server_win.h"

namespace quilla::e2e {
namespace {

using test_support::answer_box;
using test_support::SeenBox;
using test_support::WorklistServer;

TEST_F(OverlayTest, InformationOffersTheNewerVersionThenShowsTheVersion) {
    auto server = std::make_unique<WorklistServer>("QuillaWS,a,b,c,1.7.0\r\n", false, true);
    HWND hwnd = start_overlay();  // inherits the variable naming the server
    ASSERT_NE(hwnd, nullptr);
    const auto choose_information = [&] { PostMessageA(hwnd, WM_COMMAND, kCommandInformation, 0); };
    const SeenBox offer = answer_box(overlay_->process_id(), IDNO, choose_information);
    EXPECT_EQ(offer.caption, "アップデート");
    EXPECT_EQ(offer.owner, hwnd);
    EXPECT_NE(offer.text.find("\r\n1.7.0\r\n"), std::string::npos) << offer.text;
    ASSERT_TRUE(wait_until([&] { return !IsWindow(offer.box); })) << "the offer box closed";

    server->stop_listening();  // the program asks the same port, bound but not listening
    const SeenBox version = answer_box(overlay_->process_id(), IDOK, choose_information);
    EXPECT_EQ(version.caption, "バージョン情報");
    EXPECT_EQ(version.text, "QuillaWS\r\nversion:1.6.0");
    EXPECT_EQ(close_overlay(hwnd), 0u);
}

}  // namespace
}  // namespace quilla::e2e
