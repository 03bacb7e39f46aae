#pragma once
// One row planned: the answer's texts, or the sentence that says why there is none.

#include <array>
#include <string>

#include "plan_answer.h"
#include "row_request.h"

namespace tarnwick::planner {

struct RowPlan {
    bool answered = false;
    std::array<std::string, 6> fields;       // the answer columns but message; empty when refused
    std::array<std::string, 7> ratioFields;  // the ratio scale's answer columns, likewise
    std::string p;                           // the one-sided test's p (solve ci), else empty
    std::string message;                     // empty when answered
    std::string sentence;                    // the answer in words, or the message
};

// Never throws for anything the row holds: every refusal becomes the message.
RowPlan planRow(const RowTexts& texts, Digits digits);

}  // namespace tarnwick::planner
