#include "row_boxes.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace tarnwick::batch {
namespace {

constexpr std::array<std::string_view, boxCount> allBoxes = [] {
    std::array<std::string_view, boxCount> all{};
    std::copy(names::inputBoxes.begin(), names::inputBoxes.end(), all.begin());
    std::copy(names::resultBoxes.begin(), names::resultBoxes.end(),
              all.begin() + names::inputBoxes.size());
    return all;
}();

constexpr std::size_t tableSize = 128;  // a power of two, well above boxCount
constexpr std::uint8_t emptySlot = 0xFF;

constexpr std::size_t hashOf(std::string_view name) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash & (tableSize - 1);
}

// Open addressing with linear probing, built at compile time.
constexpr std::array<std::uint8_t, tableSize> slotTable = [] {
    std::array<std::uint8_t, tableSize> table{};
    for (auto& entry : table)
        entry = emptySlot;
    for (std::size_t i = 0; i < allBoxes.size(); ++i) {
        std::size_t at = hashOf(allBoxes[i]);
        while (table[at] != emptySlot)
            at = (at + 1) & (tableSize - 1);
        table[at] = static_cast<std::uint8_t>(i);
    }
    return table;
}();

}  // namespace

std::size_t RowBoxes::slot(std::string_view box) {
    for (std::size_t at = hashOf(box); slotTable[at] != emptySlot;
         at = (at + 1) & (tableSize - 1)) {
        if (allBoxes[slotTable[at]] == box) return slotTable[at];
    }
    throw std::invalid_argument("no box named " + std::string(box));
}

bool RowBoxes::isSelected(std::string_view option) const {
    if (option == names::opMatched) return matched_;
    if (option == names::opIndependent) return !matched_;
    if (option == names::opWelch) return welch_;
    if (option == names::opStudent) return !welch_;
    throw std::invalid_argument("no option named " + std::string(option));
}

void RowBoxes::select(std::string_view option) {
    if (option == names::opMatched || option == names::opIndependent) {
        matched_ = option == names::opMatched;
    } else if (option == names::opWelch || option == names::opStudent) {
        welch_ = option == names::opWelch;
    } else {
        throw std::invalid_argument("no option named " + std::string(option));
    }
}

void RowBoxes::showMessage(std::string_view prompt, MessageIcon, std::string_view) {
    messages_.emplace_back(prompt);
}

}  // namespace tarnwick::batch
