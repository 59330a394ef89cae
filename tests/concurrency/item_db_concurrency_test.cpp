// The live item database under a writer thread and a reading render pass at once: every
// snapshot a reader takes must be one whole state, never a table in the middle of a change.
#include "host/equipment_parser.h"
#include "items/item_db.h"
#include "items/seal_count.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>  // brings the std::chrono clocks (<chrono> has a µ literal CP932 lacks)

namespace quilla {
namespace {

constexpr int32_t kGenerations = 1500;
constexpr int32_t kHandshakeEvery = 50;  // the writer waits until the reader saw this one
constexpr auto kDeadline = std::chrono::seconds(60);

// Generation g: every weapon, shield and seal entry holds g; the weapon and shield tables
// have g % 5 extra entries; the only amulet is named after g.
void fill(ItemTables& t, int32_t g) {
    t = ItemTables{};
    t.weapon["剣"] = g;
    t.shield["盾"] = g;
    for (int32_t i = 0; i < g % 5; ++i) {
        t.weapon["予備" + std::to_string(i)] = g;
        t.shield["予備" + std::to_string(i)] = g;
    }
    t.amulet["守" + std::to_string(g)] = 0;
    t.weapon_seal["竜"] = g;
    t.shield_seal["発"] = g;
}

bool all_values_are(const ItemTable& table, int32_t g) {
    for (const auto& entry : table) {
        if (entry.second != g) {
            return false;
        }
    }
    return true;
}

// Checks one snapshot the way a render pass uses it; returns its generation, or -1 with a
// test failure when the snapshot is not one whole state.
int32_t check_snapshot(const ItemTables& t) {
    const auto sword = t.weapon.find("剣");
    if (sword == t.weapon.end()) {
        ADD_FAILURE() << "weapon entry missing";
        return -1;
    }
    const int32_t g = sword->second;
    const auto extra = static_cast<std::size_t>(g % 5);
    const bool whole = all_values_are(t.weapon, g) && all_values_are(t.shield, g) &&
                       all_values_are(t.weapon_seal, g) && all_values_are(t.shield_seal, g) &&
                       t.weapon.size() == 1 + extra && t.shield.size() == 1 + extra &&
                       t.amulet.size() == 1 && t.amulet.count("守" + std::to_string(g)) == 1;
    EXPECT_TRUE(whole) << "generation " << g;

    EXPECT_EQ(classify_item("★剣 [竜竜竜]", t), (ItemClass{Category::kWeapon, g}));
    EXPECT_EQ(classify_item("盾 [発]", t), (ItemClass{Category::kShield, g}));
    EXPECT_EQ(count_seal_tokens("竜竜竜", t, Category::kWeapon), 3);
    EXPECT_EQ(seal_slot_usage("竜竜竜", t, Category::kWeapon), 3 * g);
    EXPECT_EQ(seal_slot_usage("発発", t, Category::kShield), g);  // 発: first copy only
    return whole ? g : -1;
}

bool wait_until(const std::atomic<bool>& stop, const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (!condition()) {
        if (stop.load() || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

TEST(ItemDatabaseConcurrency, ReadersSeeOnlyWholeStates) {
    ItemDatabase db;
    db.modify([](ItemTables& t) { fill(t, 0); });

    std::atomic<int32_t> last_seen{-1};
    std::atomic<bool> writer_done{false};
    std::atomic<bool> reader_failed{false};
    const std::shared_ptr<const ItemTables> kept = db.snapshot();  // held through all changes

    std::thread reader([&] {
        int32_t previous = -1;
        const auto deadline = std::chrono::steady_clock::now() + kDeadline;
        while (!writer_done.load() && std::chrono::steady_clock::now() < deadline) {
            const std::shared_ptr<const ItemTables> pass = db.snapshot();
            const int32_t g = check_snapshot(*pass);
            if (g < previous) {  // -1 from a broken snapshot lands here too
                reader_failed.store(true);
                ADD_FAILURE() << "generation went back from " << previous << " to " << g;
                return;
            }
            previous = g;
            last_seen.store(g);
        }
    });

    bool handshakes_ok = true;
    for (int32_t g = 1; g <= kGenerations && handshakes_ok; ++g) {
        if (g % 2 == 0) {
            db.modify([g](ItemTables& t) { fill(t, g); });
        } else {
            ItemTables next;
            fill(next, g);
            db.replace(std::move(next));
        }
        if (g % kHandshakeEvery == 0) {
            handshakes_ok = wait_until(reader_failed, [&] { return last_seen.load() >= g; });
        }
    }
    writer_done.store(true);
    reader.join();

    EXPECT_TRUE(handshakes_ok) << "the reader stopped keeping up; last seen " << last_seen;
    EXPECT_FALSE(reader_failed.load());
    EXPECT_EQ(last_seen.load(), kGenerations);
    EXPECT_EQ(check_snapshot(*kept), 0) << "a kept snapshot changed under its reader";
    EXPECT_EQ(check_snapshot(*db.snapshot()), kGenerations);
}

TEST(ItemDatabaseConcurrency, ConcurrentWritersLoseNoChange) {
    ItemDatabase db;
    db.modify([](ItemTables& t) {
        t.weapon["剣"] = 0;
        t.shield["剣"] = 0;
    });
    constexpr int32_t kSteps = 2000;
    auto bump = [&] {
        for (int32_t i = 0; i < kSteps; ++i) {
            db.modify([](ItemTables& t) { adjust(t, "剣", +1); });
        }
    };
    std::thread first(bump);
    std::thread second(bump);
    first.join();
    second.join();
    const auto t = db.snapshot();
    EXPECT_EQ(find(*t, Category::kWeapon, "剣"), 2 * kSteps);
    EXPECT_EQ(find(*t, Category::kShield, "剣"), 2 * kSteps);
}

}  // namespace
}  // namespace quilla
