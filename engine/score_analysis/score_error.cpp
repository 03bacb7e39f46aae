#include "score_error.h"

#include <utility>

namespace tarnwick::score_analysis {

ScoreError::ScoreError(ScoreErrorNumber number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

}  // namespace tarnwick::score_analysis
