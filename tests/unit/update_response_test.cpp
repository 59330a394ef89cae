// Reading the update server's answer: the response text built from received chunks, the
// worklist line's version and its weight against the program's own, and where to connect.
#include "update/update_response.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "update/update_server.h"

namespace quilla {
namespace {

struct ReadCase {
    const char* what;
    std::string response;
    int32_t result;
    std::string version;
};

// A conversion that passes the bytes through, noting the chunks it is given; "FAIL" fails.
class Recording : public ChunkConversion {
  public:
    std::optional<std::string> to_ansi(std::string_view chunk) override {
        given.emplace_back(chunk);
        return chunk == "FAIL" ? std::nullopt : std::optional<std::string>(chunk);
    }
    std::vector<std::string> given;
};

TEST(UpdateResponse, FindsTheWorklistVersionAndComparesItWithOwn) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n";
    const std::vector<ReadCase> cases = {
        {"newer", head + "QuillaWS,a,b,c,1.7.0\r\n", 1, "1.7.0"},
        {"same, sixth field", head + "QuillaWS,a,b,c,1.6.0,x\r\n", 0, ""},
        {"older", "QuillaWS,a,b,c,1.5.9\r\n", 0, ""},
        {"next major", "QuillaWS,a,b,c,2.0.0\r\n", 1, "2.0.0"},
        {"minor 10 weighs as a major", "QuillaWS,a,b,c,1.10.0\r\n", 1, "1.10.0"},
        {"patch 11 weighs above a minor", "QuillaWS,a,b,c,1.5.11\r\n", 1, "1.5.11"},
        {"marker mid-line, first only", "xQuillaWS,a,b,c,1.7.0\r\nQuillaWS,a,b,c,1.0\r\n", 1,
         "1.7.0"},
        {"line ends with the text", head + "QuillaWS,a,b,c,1.7.1", 1, "1.7.1"},
        {"no marker", head + "QuillaBR,a,b,c,9.0.0\r\n", -1, ""},
        {"three commas", "QuillaWS,a,b,1.7.0\r\nx,y,z,w,9.9.9\r\n", -1, ""},
        {"commas only on the next line", "QuillaWS,a\r\n,b,c,9.9.9", -1, ""},
        {"15-byte version", "QuillaWS,a,b,c,1.7.00000000001", 1, "1.7.00000000001"},
        {"16-byte version", "QuillaWS,a,b,c,1.7.000000000001", 0, ""},
        {"no dots", "QuillaWS,a,b,c,2\r\n", 1, "2"},
        {"one dot", "QuillaWS,a,b,c,1.7\r\n", 1, "1.7"},
        {"huge major", "QuillaWS,a,b,c,99999999.0.0", 1, "99999999.0.0"},
        {"int32 major", "QuillaWS,a,b,c,2147483647.9.9", 1, "2147483647.9.9"},
        {"negative major", "QuillaWS,a,b,c,-2147483648.9.9", 0, ""},
    };
    for (const ReadCase& c : cases) {
        const UpdateCheckResult got = read_update_response(c.response, "1.6.0");
        EXPECT_EQ(got.result, c.result) << c.what;
        EXPECT_EQ(got.version, c.version) << c.what;
    }
}

struct ChunkCase {
    const char* what;
    std::vector<std::string> chunks;
    std::vector<std::string> converted;  // what the converter is given
    std::vector<bool> go_on;
    std::string text;
};

TEST(UpdateResponse, BuildsTheTextChunkByChunkAndStopsWhenTheLineIsComplete) {
    using namespace std::string_literals;
    const std::vector<ChunkCase> cases = {
        {"marker line in the last chunk",
         {"HTTP/1.1 200 OK\r\n", "\r\nQuillaWS,a", ",b,c,1.7.0\r\n"},
         {"HTTP/1.1 200 OK\r\n", "\r\nQuillaWS,a", ",b,c,1.7.0\r\n"},
         {true, true, false},
         "HTTP/1.1 200 OK\r\n\r\nQuillaWS,a,b,c,1.7.0\r\n"},
        {"marker split, CR LF only before it",
         {"\r\nQuill", "aWS,a,b", "\r", "\n"},
         {"\r\nQuill", "aWS,a,b", "\r", "\n"},
         {true, true, true, false},
         "\r\nQuillaWS,a,b\r\n"},
        {"up to the first zero byte; failed chunk adds nothing",
         {"ab\0cd"s, "FAIL", "\xE6\x83"s, "\x85QuillaWS,\r\n"},
         {"ab", "FAIL", "\xE6\x83", "\x85QuillaWS,\r\n"},
         {true, true, true, false},
         "ab\xE6\x83\x85QuillaWS,\r\n"},
    };
    for (const ChunkCase& c : cases) {
        Recording conversion;
        ResponseText text(conversion);
        // One receive buffer reused for every chunk, as a socket read fills it.
        std::string buffer(1024, 'Z');
        std::vector<bool> go_on;
        for (const std::string& chunk : c.chunks) {
            buffer.replace(0, chunk.size(), chunk);
            go_on.push_back(text.add_chunk(std::string_view(buffer).substr(0, chunk.size())));
        }
        EXPECT_EQ(conversion.given, c.converted) << c.what;
        EXPECT_EQ(go_on, c.go_on) << c.what;
        EXPECT_EQ(text.text(), c.text) << c.what;
    }
}

TEST(UpdateResponse, StopsAt64KiB) {
    Recording conversion;
    ResponseText text(conversion);
    int chunks = 1;
    for (; text.add_chunk(std::string(1024, 'x')) && chunks < 1000; ++chunks) {
    }
    EXPECT_EQ(chunks, 64);

    // One byte short of the limit reading goes on; the byte that reaches it ends it.
    ResponseText edge(conversion);
    EXPECT_TRUE(edge.add_chunk(std::string(65535, 'x')));
    EXPECT_FALSE(edge.add_chunk("x"));
    EXPECT_EQ(edge.text().size(), 65536u);
}

TEST(UpdateServer, IsTheBuiltInHostOrTheOneTheVariableNames) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "built.in 80 built.in"},
        {"localhost", "localhost 80 localhost"},
        {"127.0.0.1:8080", "127.0.0.1 8080 127.0.0.1:8080"},
        {":80", "none"},
        {"h:", "none"},
        {"h:0", "none"},
        {"h:1", "h 1 h:1"},
        {"h:65535", "h 65535 h:65535"},
        {"h:65536", "none"},
        {"h:8a", "none"},
    };
    for (const auto& [value, expected] : cases) {
        const std::optional<UpdateServer> got = update_server("built.in", value);
        EXPECT_EQ(
            got ? got->host + " " + std::to_string(got->port) + " " + got->host_header : "none",
            expected)
            << value;
    }
}

TEST(UpdateServer, EachAddressStillToTryGetsAnEqualShareOfTheTimeLeft) {
    // Three addresses, the check ending at 10000 ms on the clock.
    struct Case {
        const char* what;
        uint64_t now;
        uint64_t remaining;
        uint64_t deadline;
    } cases[] = {
        {"the first of three", 0, 3, 3333},
        {"the second, after the first never answered", 3333, 2, 6666},
        {"the last, after two never answered", 6666, 1, 10000},
        {"the second, after the first was refused at once", 100, 2, 5050},
        {"no time left", 10000, 2, 10000},
        {"past the end", 12000, 1, 12000},
        {"a count of none counts as one", 4000, 0, 10000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(connect_deadline(c.now, 10000, c.remaining), c.deadline) << c.what;
    }
}

}  // namespace
}  // namespace quilla
