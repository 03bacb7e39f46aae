#pragma once
// What "Fill the boxes" writes into the calculator: each box's name and text,
// and the design to select. The texts are what the boxes take when typed:
// plain decimals with "." (no exponent), whole numbers for the sizes, each the
// shortest that reads back to the very double computed, so a run on the
// filled boxes is a run on the data.

#include <string>
#include <vector>

#include "summaries.h"

namespace tarnwick::data_window {

struct BoxText {
    std::string box;  // the calculator's control name, "TxtMean1"
    std::string text;
    double value = 0;  // what the text reads as, for showing it
};

struct FillPlan {
    std::vector<BoxText> boxes;
    bool matched = false;  // select Matched; otherwise Independent
};

// Matched summaries fill both N boxes with the number of complete pairs, the
// group boxes with those pairs' summaries, and the matched boxes with the
// differences'.
FillPlan planFromSummaries(const data::Summaries& summaries);

struct CorrelationInputs {
    double mean1 = 0, sd1 = 0, mean2 = 0, sd2 = 0;
    long pairs = 0;
    double r = 0;
};

// A matched design from its two SDs and the correlation of the measures: the
// group boxes as given, the mean difference Mean1 - Mean2 and the SD of the
// differences. Throws data::DataError for an invalid SD or r, fewer than 2
// pairs, or a difference beyond a double.
FillPlan planFromCorrelation(const CorrelationInputs& inputs);

}  // namespace tarnwick::data_window
