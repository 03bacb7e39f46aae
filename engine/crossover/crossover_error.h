#pragma once
// Why a crossover study has no answer: a number for programs, one sentence
// for people. The crossover room's own block, 601 to 699. Malformed tables
// are not among them: the reader refuses those as table_io::InputError, at
// the file's line.

#include "numbered_error.h"

namespace tarnwick::crossover {

namespace error {
constexpr int bounds = 601;       // retired: a bound not above 0 is the settings' own 209
constexpr int noReference = 602;  // no treatment of the reference's name, or only one treatment
constexpr int noContrast = 603;   // no subject took both formulations
constexpr int confounded = 604;   // the formulation cannot be told from the periods
constexpr int noResidual = 605;   // no degrees of freedom left for the residual
constexpr int noSpread = 606;     // every residual is zero: no within-subject variation
constexpr int tooLarge = 607;     // alpha too small for the df: the critical value overflows
}  // namespace error

class CrossoverError : public NumberedError<int> {
public:
    using NumberedError::NumberedError;
};

}  // namespace tarnwick::crossover
