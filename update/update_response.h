// Reading the update server's answer: the received chunks become the response text, and
// the worklist line of this program in it gives the latest version and the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

// The first field of this program's worklist line, with the comma after it.
inline constexpr std::string_view kWorklistMarker = "QuillaWS,";
// Reading ends once the response text holds this many bytes.
inline constexpr std::size_t kResponseTextLimit = 64 * 1024;
// The longest version text the check hands on (16 bytes with a terminating zero).
inline constexpr std::size_t kMaxVersionText = 15;

// The conversion of one received chunk's bytes into ANSI text (nothing when a step
// fails): the program passes the system's (update_check_win.cpp), tests their own.
class ChunkConversion {
  public:
    virtual ~ChunkConversion() = default;
    virtual std::optional<std::string> to_ansi(std::string_view chunk) = 0;
};

// The response text, built chunk by chunk as the bytes arrive.
class ResponseText {
  public:
    // The conversion must outlive the text.
    explicit ResponseText(ChunkConversion& conversion) : conversion_(conversion) {}

    // Appends one received chunk: its bytes up to the first zero byte, converted by
    // themselves (a chunk that fails to convert adds nothing). Returns false once more
    // bytes cannot change the result: the text holds the marker and a CR LF after it, or
    // has reached kResponseTextLimit.
    bool add_chunk(std::string_view received);

    const std::string& text() const noexcept { return text_; }

  private:
    ChunkConversion& conversion_;
    std::string text_;
};

// The outcome of an update check.
struct UpdateCheckResult {
    int32_t result = -1;  // 1: a newer version, named by version; 0: none newer; -1: failed
    std::string version;
};

// The fifth comma-separated field of the line that starts at the first marker (the line
// ends before the next CR LF or at the end of the text); nothing when there is no marker
// or the line has fewer than five fields.
std::optional<std::string_view> worklist_version(std::string_view response);

// patch + 10 * minor + 100 * major, each part the leading decimal number of the text
// before the first dot, between the first two dots and after the second; a missing part
// counts 0. Wide enough that no int32 part can overflow it.
int64_t version_weight(std::string_view version);

// Compares the worklist's version in the response with own_version. A newer version text
// longer than kMaxVersionText counts as none newer.
UpdateCheckResult read_update_response(std::string_view response, std::string_view own_version);

}  // namespace quilla
