// Any bytes either read as crossover studies whose every response is a
// finite log, every subject in one sequence and every period from 1 to 99,
// or fail with FILE:LINE; and every study read either has an answer whose
// interval holds its estimate and whose p values are probabilities, or one
// numbered refusal. Under either decimal mark, any delimiter and either
// reference name.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "crossover_analysis.h"
#include "crossover_error.h"
#include "crossover_table.h"
#include "message_checks.h"

namespace {

using namespace tarnwick::crossover;

void requireSound(const CrossoverStudy& study) {
    for (const Observation& o : study.observations) {
        if (!std::isfinite(o.logResponse) || o.subject >= study.subjects.size()) std::abort();
        if (o.period < 1 || o.period > 99) std::abort();
    }
    for (const Subject& s : study.subjects) {
        if (s.sequence >= study.sequences.size() || s.line < 1 || s.name.empty()) std::abort();
    }
    if (study.missing < 0 || study.incomplete.size() > study.subjects.size()) std::abort();
    try {
        const CrossoverResult r = analyseCrossover(study, {});
        if (!(r.low <= r.ratio && r.ratio <= r.high) || !(r.df >= 1)) std::abort();
        if (!(r.pLower >= 0 && r.pLower <= 1 && r.pUpper >= 0 && r.pUpper <= 1)) std::abort();
        if (!(r.cvWithin > 0) || r.subjects < 1) std::abort();
    } catch (const CrossoverError& error) {
        if (error.number() < 601 || error.number() > 699) std::abort();
        tarnwick::fuzz::requirePrintableLine(error.description());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the options, the rest is the table.
    const std::uint8_t choice = data[0];
    CrossoverReadOptions options;
    options.decimalComma = (choice & 1) != 0;
    const char delimiters[] = {0, ',', ';', '\t'};
    options.delimiter = delimiters[(choice >> 1) & 3];
    options.reference = (choice & 8) != 0 ? "Ref" : "R";
    std::FILE* input = ::fmemopen(const_cast<std::uint8_t*>(data + 1), size - 1, "rb");
    if (input == nullptr) return 0;
    try {
        for (const CrossoverStudy& study : readCrossoverTable(input, "fuzz", options).studies)
            requireSound(study);
    } catch (const tarnwick::table_io::InputError& error) {
        if (error.line() < 1) std::abort();
        tarnwick::fuzz::requirePrintableLine(error.description());
    }
    std::fclose(input);
    return 0;
}
