// The design table of be_design.h, where its sources are given.

#include "be_design.h"

#include <array>
#include <cstddef>

namespace tarnwick::be {
namespace {

constexpr std::array<DesignConstants, 12> table = {{
    {"parallel", 2, 1, -2, 4},
    {"paired", 1, 1, -1, 2},
    {"2x2", 2, 1, -2, 2},
    {"3x3", 3, 2, -4, 2},
    {"3x6x3", 6, 2, -4, 2},
    {"4x4", 4, 3, -6, 2},
    {"2x2x3", 2, 2, -3, 1.5},
    {"2x2x4", 2, 3, -4, 1},
    {"2x4x4", 4, 3, -4, 1},
    {"2x3x3", 3, 2, -3, 1.5},
    {"2x4x2", 4, 1, -2, 8},
    {"2x2x2r", 2, 3, -2, 1},
}};

}  // namespace

const std::vector<BeDesign>& allDesigns() {
    static const std::vector<BeDesign> designs = [] {
        std::vector<BeDesign> all;
        for (std::size_t i = 0; i < table.size(); ++i) {
            all.push_back(static_cast<BeDesign>(i));
        }
        return all;
    }();
    return designs;
}

const DesignConstants& designConstants(BeDesign design) {
    return table.at(static_cast<std::size_t>(design));
}

std::optional<BeDesign> designNamed(std::string_view name) {
    if (name == "2x2x2") {
        return BeDesign::crossover2x2;
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].name == name) {
            return static_cast<BeDesign>(i);
        }
    }
    return std::nullopt;
}

double degreesOfFreedom(BeDesign design, long totalSize) {
    const DesignConstants& d = designConstants(design);
    return static_cast<double>(d.dfPerSubject) * static_cast<double>(totalSize) + d.dfOffset;
}

double designConstant(BeDesign design, const std::vector<long>& sequenceSizes) {
    const DesignConstants& d = designConstants(design);
    double reciprocals = 0;
    for (const long n : sequenceSizes) {
        reciprocals += 1 / static_cast<double>(n);
    }
    const double s = d.sequences;
    return d.bk / (s * s) * reciprocals;
}

std::vector<long> evenSplit(BeDesign design, long totalSize) {
    const long s = designConstants(design).sequences;
    std::vector<long> sizes(static_cast<std::size_t>(s), totalSize / s);
    for (long i = 0; i < totalSize % s; ++i) {
        ++sizes[static_cast<std::size_t>(i)];
    }
    return sizes;
}

}  // namespace tarnwick::be
