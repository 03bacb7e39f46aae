// Any bytes either read as a table of scores whose every score is finite and
// whose matched studies pair one score with one, or fail with FILE:LINE;
// nothing else, under either design, either decimal mark and any delimiter.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "study_table.h"

namespace {

void readAs(const std::uint8_t* data, std::size_t size,
            const tarnwick::data::StudyReadOptions& options) {
    std::FILE* input = ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (input == nullptr) return;
    try {
        const auto table = tarnwick::data::readStudyTable(input, "fuzz", options);
        for (const auto& study : table.studies) {
            if (options.design == tarnwick::Design::matched &&
                study.group1.size() != study.group2.size())
                std::abort();
            if (study.missing1 < 0 || study.missing2 < 0) std::abort();
            for (const auto* group : {&study.group1, &study.group2}) {
                for (double score : *group) {
                    if (!std::isfinite(score)) std::abort();
                }
            }
        }
    } catch (const tarnwick::table_io::InputError& error) {
        if (error.line() < 1) std::abort();
    }
    std::fclose(input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the options, the rest is the table.
    const std::uint8_t choice = data[0];
    tarnwick::data::StudyReadOptions options;
    options.design = (choice & 1) ? tarnwick::Design::matched : tarnwick::Design::independent;
    options.decimalComma = (choice & 2) != 0;
    const char delimiters[] = {0, ',', ';', '\t'};
    options.delimiter = delimiters[(choice >> 2) & 3];
    readAs(data + 1, size - 1, options);
    return 0;
}
