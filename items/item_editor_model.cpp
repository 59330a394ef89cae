// The value parser and each editor action on the shown table and the live database.
#include "items/item_editor_model.h"

#include <iterator>
#include <limits>
#include <utility>

#include "base/text.h"
#include "items/item_file.h"

namespace quilla {

std::optional<int32_t> parse_item_value(std::string_view given) {
    const std::string digits = ascii_digits(given);
    const std::string_view text = digits;
    const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digits_begin = i;
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    const bool has_digits = i > digits_begin;
    while (i < text.size() && is_blank(text[i])) {
        ++i;
    }
    if (!has_digits || i != text.size() || (!negative && magnitude == kLimit)) {
        return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

void ItemEditorModel::open(const ItemTables& live) {
    tab_ = 0;
    show(live[kEditorTabs[0]]);
}

void ItemEditorModel::select_tab(std::size_t tab, const ItemTables& live) {
    if (tab >= kEditorTabs.size()) {
        return;
    }
    tab_ = tab;
    search_position_ = 0;
    show(live[kEditorTabs[tab]]);
}

std::string ItemEditorModel::cell_text(std::size_t row, int column) const {
    if (row >= rows_.size()) {
        return {};
    }
    if (column == 0) {
        return rows_[row]->first;
    }
    return column == 1 ? std::to_string(rows_[row]->second) : std::string();
}

std::optional<std::size_t> ItemEditorModel::search(std::string_view text) {
    if (text.empty() || rows_.empty()) {
        return std::nullopt;
    }
    return find_from(0, text);
}

std::optional<std::size_t> ItemEditorModel::next(std::string_view text) {
    if (text.empty() || rows_.empty()) {
        return std::nullopt;
    }
    return find_from(search_position_ + 1, text);
}

std::optional<std::size_t> ItemEditorModel::find_from(std::size_t first, std::string_view text) {
    for (std::size_t row = first; row < rows_.size(); ++row) {
        if (rows_[row]->first.find(text) != std::string::npos) {
            search_position_ = row;
            return row;
        }
    }
    search_position_ = rows_.size();
    return std::nullopt;
}

std::optional<std::size_t> ItemEditorModel::apply(std::size_t row, const std::string& name,
                                                  std::string_view value_text, ItemDatabase& db) {
    const std::optional<int32_t> value = parse_item_value(value_text);
    if (row >= rows_.size() || !value || !fits_item_file(name)) {
        return std::nullopt;
    }
    const std::string old_name = rows_[row]->first;  // a copy: the entry goes next
    const Category category = kEditorTabs[tab_];
    ItemTable shown = std::move(shown_);
    shown.erase(old_name);
    shown.insert_or_assign(name, *value);
    show(std::move(shown));
    db.modify([&](ItemTables& live) {
        erase(live, category, old_name);
        set(live, category, name, *value);
    });
    return row_of(name);
}

std::optional<std::size_t> ItemEditorModel::add(const std::string& name,
                                                std::string_view value_text, ItemDatabase& db) {
    const std::optional<int32_t> value = parse_item_value(value_text);
    if (name.empty() || !value || !fits_item_file(name)) {
        return std::nullopt;
    }
    const Category category = kEditorTabs[tab_];
    ItemTable shown = std::move(shown_);
    shown.insert_or_assign(name, *value);
    show(std::move(shown));
    db.modify([&](ItemTables& live) { set(live, category, name, *value); });
    return row_of(name);
}

bool ItemEditorModel::remove(std::size_t row, ItemDatabase& db) {
    if (row >= rows_.size()) {
        return false;
    }
    const std::string name = rows_[row]->first;
    const Category category = kEditorTabs[tab_];
    ItemTable shown = std::move(shown_);
    shown.erase(name);
    show(std::move(shown));
    db.modify([&](ItemTables& live) { erase(live, category, name); });
    return true;
}

bool ItemEditorModel::load(const std::optional<std::string>& bytes, ItemDatabase& db) {
    if (!bytes) {
        return false;
    }
    db.load([&](ItemTables& tables) { load_item_file(bytes, tables); });
    show((*db.snapshot())[kEditorTabs[tab_]]);
    return true;
}

bool ItemEditorModel::reset(const std::optional<std::string>& bytes, ItemDatabase& db) {
    if (!bytes) {
        return false;
    }
    ItemTable shown;
    db.modify([&](ItemTables& live) {
        reset_item_file(bytes, live);
        shown = live[kEditorTabs[tab_]];
    });
    show(std::move(shown));
    return true;
}

std::size_t ItemEditorModel::row_of(const std::string& name) const {
    return static_cast<std::size_t>(std::distance(shown_.begin(), shown_.find(name)));
}

void ItemEditorModel::show(ItemTable table) {
    rows_.clear();
    shown_ = std::move(table);
    rows_.reserve(shown_.size());
    for (auto it = shown_.begin(); it != shown_.end(); ++it) {
        rows_.push_back(it);
    }
}

}  // namespace quilla
