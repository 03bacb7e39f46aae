#include "box_table.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "box_names.h"

namespace tarnwick {
namespace {

std::string_view partnerOf(std::string_view option) {
    if (option == names::opIndependent) return names::opMatched;
    if (option == names::opMatched) return names::opIndependent;
    if (option == names::opStudent) return names::opWelch;
    return names::opStudent;
}

bool contains(const auto& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

BoxTable::BoxTable() {
    for (std::string_view box : names::inputBoxes)
        boxes_.emplace(box, BoxState{"", colours::black});
    for (std::string_view box : names::resultBoxes) {
        const bool red = contains(names::initiallyRedResultBoxes, box);
        boxes_.emplace(box, BoxState{"", red ? colours::red : colours::black});
    }
    options_.emplace(names::opIndependent, true);
    options_.emplace(names::opMatched, false);
    options_.emplace(names::opStudent, true);
    options_.emplace(names::opWelch, false);
}

bool BoxTable::isBox(std::string_view name) {
    return contains(names::inputBoxes, name) || contains(names::resultBoxes, name);
}

bool BoxTable::isOption(std::string_view name) {
    return name == names::opIndependent || name == names::opMatched || name == names::opStudent ||
           name == names::opWelch;
}

BoxState& BoxTable::at(std::string_view box) {
    const auto found = boxes_.find(box);
    if (found == boxes_.end()) throw std::invalid_argument("no box named " + std::string(box));
    return found->second;
}

const BoxState& BoxTable::at(std::string_view box) const {
    return const_cast<BoxTable*>(this)->at(box);
}

std::string BoxTable::text(std::string_view box) const { return at(box).text; }
void BoxTable::setText(std::string_view box, std::string_view text) { at(box).text = text; }
void BoxTable::setTextColour(std::string_view box, Colour colour) { at(box).colour = colour; }
Colour BoxTable::colour(std::string_view box) const { return at(box).colour; }

bool BoxTable::isSelected(std::string_view option) const {
    const auto found = options_.find(option);
    if (found == options_.end())
        throw std::invalid_argument("no option named " + std::string(option));
    return found->second;
}

void BoxTable::select(std::string_view option) {
    if (!isOption(option)) throw std::invalid_argument("no option named " + std::string(option));
    options_.find(option)->second = true;
    options_.find(partnerOf(option))->second = false;
}

void BoxTable::showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) {
    messages_.push_back({std::string(prompt), icon, std::string(title)});
}

}  // namespace tarnwick
