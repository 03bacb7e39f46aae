#pragma once
// Small pieces of the scores report's English, shared by its paragraphs and
// by the analysis table's method sentences.

#include <string>
#include <string_view>
#include <vector>

#include "fixed_text.h"

namespace tarnwick::score_report::words {

// "no", "one", ... "ten", then digits.
std::string countWord(long count);

// "10,000": a count people read, never type back.
std::string groupedCount(long count);

// "1 score", "2 scores", "10,000 replicates".
std::string plural(long count, std::string_view one, std::string_view many);

// "a", "a and b", "a, b and c".
std::string joined(const std::vector<std::string>& items, std::string_view last = " and ");

// "1st", "2nd", "11th", "23rd".
std::string ordinal(long n);

// A number with `decimals` fixed decimals and "." as the mark in every
// locale, as a sentence that is read by scripts shows it (fixed_text.h).
using number_text::fixedText;

}  // namespace tarnwick::score_report::words
