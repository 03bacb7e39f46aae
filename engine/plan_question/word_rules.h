#pragma once
// The number rules the planner's words share, for the difference of two
// means (plan_words.cpp) and the bioequivalence designs (be_words.cpp).
// Only those two include it.

#include <string>

#include "plan_answer.h"

namespace tarnwick::planner::words {

// A proportion as a percentage to 10 significant digits: 0.9 is "90%".
std::string programPercent(double proportion);

// A program's power: "90.2% power" cut (shown digits), "under 0.1% power",
// or "a power of 0.9029..." (full digits).
std::string programPower(const Answer& a);

// Raw values as every shown number: at least two decimals ("0.50", "1.20"),
// more up to four significant digits ("2.102", "0.125"); zero is "0".
std::string raw(double value);

// Alpha as a manuscript writes it, by the same rule without the leading
// zero: ".05", ".10", ".025".
std::string alphaText(double alpha);

// A one-sided question's words (settings::isOneSided): its name in a
// sentence ("non-inferiority"), the end of the interval that decides
// ("lower" when the alternative lies above the margin), where that end must
// lie ("above"), and the direction ("higher is better").
struct OneSidedWords {
    std::string question, end, beyond, better;
};
OneSidedWords oneSidedWords(settings::Hypothesis hypothesis, settings::Better better);

}  // namespace tarnwick::planner::words
