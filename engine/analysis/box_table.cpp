#include "box_table.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tarnwick {
namespace {

constexpr std::array<std::string_view, boxCount> allBoxes = [] {
    std::array<std::string_view, boxCount> all{};
    std::copy(names::inputBoxes.begin(), names::inputBoxes.end(), all.begin());
    std::copy(names::resultBoxes.begin(), names::resultBoxes.end(),
              all.begin() + names::inputBoxes.size());
    return all;
}();

constexpr std::size_t hashSize = 128;  // a power of two, well above boxCount
constexpr std::uint8_t emptyEntry = 0xFF;

// Length and three letters tell the box names almost all apart (probing
// settles the rest), at a fraction of the cost of hashing every letter.
constexpr std::size_t hashOf(std::string_view name) {
    if (name.size() < 4) return name.size();
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(name[i]); };
    return (name.size() * 97 + at(3) * 31 + at(name.size() - 2) * 7 + at(name.size() - 1)) &
           (hashSize - 1);
}

// Open addressing with linear probing: the slot of each box name.
constexpr std::array<std::uint8_t, hashSize> slotOfHash = [] {
    std::array<std::uint8_t, hashSize> table{};
    for (auto& entry : table)
        entry = emptyEntry;
    for (std::size_t i = 0; i < allBoxes.size(); ++i) {
        std::size_t at = hashOf(allBoxes[i]);
        while (table[at] != emptyEntry)
            at = (at + 1) & (hashSize - 1);
        table[at] = static_cast<std::uint8_t>(i);
    }
    return table;
}();

constexpr std::size_t notABox = boxCount;

constexpr std::size_t findSlot(std::string_view box) {
    for (std::size_t at = hashOf(box); slotOfHash[at] != emptyEntry;
         at = (at + 1) & (hashSize - 1)) {
        if (allBoxes[slotOfHash[at]] == box) return slotOfHash[at];
    }
    return notABox;
}

static_assert([] {
    for (std::size_t i = 0; i < allBoxes.size(); ++i) {
        if (findSlot(allBoxes[i]) != i) return false;
    }
    return findSlot("TxtNoSuchBox") == notABox;
}());

constexpr std::array<Colour, boxCount> startColours = [] {
    std::array<Colour, boxCount> colour{};
    for (std::size_t i = 0; i < boxCount; ++i) {
        const bool red =
            std::find(names::initiallyRedResultBoxes.begin(), names::initiallyRedResultBoxes.end(),
                      allBoxes[i]) != names::initiallyRedResultBoxes.end();
        colour[i] = red ? colours::red : colours::black;
    }
    return colour;
}();

}  // namespace

BoxTable::BoxTable() { reset(); }

void BoxTable::reset() {
    for (std::size_t i = 0; i < boxCount; ++i) {
        slots_[i].text.clear();
        slots_[i].colour = startColours[i];
    }
    matched_ = welch_ = false;
    messages_.clear();
}

std::size_t BoxTable::slot(std::string_view box) {
    const std::size_t found = findSlot(box);
    if (found == notABox) throw std::invalid_argument("no box named " + std::string(box));
    return found;
}

bool BoxTable::isBox(std::string_view name) { return findSlot(name) != notABox; }

bool BoxTable::isOption(std::string_view name) {
    return name == names::opIndependent || name == names::opMatched || name == names::opStudent ||
           name == names::opWelch;
}

bool BoxTable::isSelected(std::string_view option) const {
    if (option == names::opMatched) return matched_;
    if (option == names::opIndependent) return !matched_;
    if (option == names::opWelch) return welch_;
    if (option == names::opStudent) return !welch_;
    throw std::invalid_argument("no option named " + std::string(option));
}

void BoxTable::select(std::string_view option) {
    if (option == names::opMatched || option == names::opIndependent) {
        matched_ = option == names::opMatched;
    } else if (option == names::opWelch || option == names::opStudent) {
        welch_ = option == names::opWelch;
    } else {
        throw std::invalid_argument("no option named " + std::string(option));
    }
}

void BoxTable::showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) {
    messages_.push_back({std::string(prompt), icon, std::string(title)});
}

std::map<std::string, BoxState, std::less<>> BoxTable::boxes() const {
    std::map<std::string, BoxState, std::less<>> all;
    for (std::size_t i = 0; i < boxCount; ++i)
        all.emplace(allBoxes[i], slots_[i]);
    return all;
}

}  // namespace tarnwick
