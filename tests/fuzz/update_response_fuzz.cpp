// Fuzz target: reading the update server's answer from any chunks. The text never grows
// past its limit by more than one chunk, reading stops for good once the answer is
// known, and the result is -1, 0 or 1, never naming a version of more than 15 bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tests/support/fuzz_support.h"
#include "update/update_response.h"

using namespace quilla;
using quilla::fuzz::require;

namespace {

// Chunks pass through unchanged: the conversion itself is the system's.
class Unchanged : public ChunkConversion {
  public:
    std::optional<std::string> to_ansi(std::string_view chunk) override {
        return std::string(chunk);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string own_version = input.ConsumeRandomLengthString(20);
    Unchanged conversion;
    ResponseText text(conversion);
    bool reading = true;
    while (reading && input.remaining_bytes() > 0) {
        const std::string chunk =
            input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(1, 1024));
        reading = text.add_chunk(chunk);
        require(text.text().size() < kResponseTextLimit + 1024, "the text stays near its limit");
    }
    if (!reading) {
        const std::string before = text.text();
        ResponseText again(conversion);
        require(again.add_chunk(before) == false, "a complete answer stays complete");
    }
    const UpdateCheckResult result = read_update_response(text.text(), own_version);
    require(result.result >= -1 && result.result <= 1, "the result is -1, 0 or 1");
    require(result.version.size() <= kMaxVersionText, "a version text fits 16 bytes");
    require(result.result == 1 || result.version.empty(), "only a newer version is named");
    return 0;
}
