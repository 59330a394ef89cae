// Cost of one render pass's parsing step: a 300-line inventory with 10 equipped lines
// against a 2,000-entry item database.
#include "host/equipment_parser.h"
#include "items/item_db.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace quilla {
namespace {

// 2,000 entries: 800 weapons, 600 shields, 400 amulets, 100 seals of each kind. Names are
// Japanese-looking Shift-JIS strings with a number, so lookups compare realistic bytes.
ItemTables make_database() {
    ItemTables t;
    for (int i = 0; i < 800; ++i) {
        t.weapon["銘刀" + std::to_string(i) + "号"] = 3 + i % 6;
    }
    for (int i = 0; i < 600; ++i) {
        t.shield["鉄壁の盾" + std::to_string(i)] = 2 + i % 7;
    }
    for (int i = 0; i < 400; ++i) {
        t.amulet["護符" + std::to_string(i)] = 0;
    }
    const char* const kanji[] = {"竜", "会", "風", "必", "毒", "眠", "炎", "氷", "雷", "光"};
    for (int i = 0; i < 100; ++i) {
        t.weapon_seal[std::string(kanji[i % 10]) + (i < 10 ? "" : std::to_string(i))] = 1;
        t.shield_seal[std::string(kanji[(i + 3) % 10]) + (i < 10 ? "" : std::to_string(i))] = 1;
    }
    return t;
}

// 290 unequipped lines (half of them with a bracket but no Ｅ) and 10 equipped ones: a
// weapon, a shield, and amulets that are found by phrase only after every table was tried.
std::vector<std::string> make_inventory() {
    std::vector<std::string> lines;
    for (int i = 0; i < 290; ++i) {
        lines.push_back(i % 2 ? "薬草" + std::to_string(i) : "(未識別)巻物" + std::to_string(i));
    }
    lines.insert(lines.begin() + 40, "(Ｅ金)銘刀799号 [竜竜風会必毒]");
    lines.insert(lines.begin() + 80, "(Ｅ)鉄壁の盾599 [雷炎氷]");
    for (int i = 0; i < 8; ++i) {
        lines.insert(lines.begin() + 100 + 20 * i, "(Ｅ)幸運" + std::to_string(i) + "のお守り");
    }
    return lines;
}

void BM_ParseEquipment(benchmark::State& state) {
    const ItemTables tables = make_database();
    const std::vector<std::string> inventory = make_inventory();
    const LineOptions options{false, true, true};
    const NothingTexts nothing{"なし", "なし", "なし"};
    for (auto _ : state) {
        EquipmentState result = parse_equipment(inventory, tables, options, nothing);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ParseEquipment)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quilla
