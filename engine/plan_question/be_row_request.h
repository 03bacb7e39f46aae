#pragma once
// A row's question of a bioequivalence design (be_design.h), on the ratio
// scale or on the raw scale in units of the reference mean: what it must
// give, what it may leave to the defaults, and what it must leave empty.
// Only row_request.cpp includes it.

#include <string>

#include "plan_question.h"
#include "row_reader.h"

namespace tarnwick::planner {

// Whether the row asks of a bioequivalence design: its design is one of
// them, its scale is ratio, or it asks ci or cv.
bool isBeQuestion(const row_text::RowReader& row, Question question);

// Fills request.be (and the target power) from the row, for
// request.question. Throws RequestError (or the settings' SettingsError for
// alpha and the bounds as typed) naming the column at fault.
void readBeRequest(const row_text::RowReader& row, Request& request);

// independent or matched (or empty): the difference of two means. A word
// that is no design is refused with every design named.
plan::Design readDifferenceDesign(const std::string& text);

// A question of the difference of two means leaves the columns of the ratio
// scale empty (a scale of difference is its own).
void refuseRatioColumns(const row_text::RowReader& row);

}  // namespace tarnwick::planner
