// The pause after a pad query that found no pad: each sequence of queries and their
// answers on one record, with the times written out.
#include "input/pad_retry.h"

#include <gtest/gtest.h>

#include <vector>

namespace quilla {
namespace {

struct Query {
    uint64_t at_ms;
    uint32_t device_changes;
    bool may_ask;
    bool ok;  // what the pad answers when it is asked
};

TEST(PadRetry, APadThatDidNotAnswerIsLeftAloneFor2SecondsOrUntilADeviceChange) {
    struct Case {
        const char* what;
        std::vector<Query> queries;
    };
    const Case cases[] = {
        {"an answering pad is asked every time",
         {{0, 0, true, true}, {1, 0, true, true}, {2, 0, true, true}}},
        {"a failure: not again at 1999 ms, again at 2000 ms",
         {{500, 0, true, false},
          {501, 0, false, false},
          {2499, 0, false, false},
          {2500, 0, true, false},
          {2501, 0, false, false},
          {4500, 0, true, true},
          {4501, 0, true, true}}},
        {"a device change ends the pause at once, once",
         {{100, 7, true, false},
          {200, 7, false, false},
          {300, 8, true, false},
          {400, 8, false, false},
          {2300, 8, true, true}}},
        {"a pad that answered and then fails pauses from the failure",
         {{0, 0, true, true},
          {100, 0, true, false},
          {2099, 0, false, false},
          {2100, 0, true, true}}},
        {"a clock that went back ends the pause", {{5000, 0, true, false}, {4999, 0, true, true}}},
        {"a clock near its end does not overflow",
         {{UINT64_MAX - 1, 0, true, false}, {UINT64_MAX, 0, false, false}}},
    };
    for (const Case& c : cases) {
        PadRetry retry;
        for (std::size_t i = 0; i < c.queries.size(); ++i) {
            const Query& q = c.queries[i];
            ASSERT_EQ(retry.may_ask(q.at_ms, q.device_changes), q.may_ask)
                << c.what << ", query " << i << " at " << q.at_ms;
            if (q.may_ask) {
                retry.answered(q.ok, q.at_ms, q.device_changes);
            }
        }
    }
}

}  // namespace
}  // namespace quilla
