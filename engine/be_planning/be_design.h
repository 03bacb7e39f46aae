#pragma once
// The study designs of bioequivalence planning and what the power of the two
// one-sided tests needs of each: the number of sequences (groups for parallel
// groups), the degrees of freedom of the residual error as a function of the
// total number of subjects n, and the design constant bk in the standard
// error of the log-scale difference of the formulations,
//
//     SE = s sqrt(bk / n)                          (balanced sequences)
//     SE = s sqrt(bk / S^2 * sum_i 1 / n_i)        (n_i subjects in sequence i of S)
//
// where s is the log-scale SD of one observation: the within-subject one for
// crossover and paired designs, the total one for parallel groups. The
// unbalanced form reduces to the balanced one when every n_i = n / S.
//
// The table (design: sequences, df, bk):
//
//   parallel  parallel groups             2   n - 2    4
//   paired    T and R in every subject    1   n - 1    2
//   2x2       TR/RT (also "2x2x2")        2   n - 2    2
//   3x3       Latin square, 3 sequences   3   2n - 4   2
//   3x6x3     Williams, 6 sequences       6   2n - 4   2
//   4x4       Latin square, 4 sequences   4   3n - 6   2
//   2x2x3     TRT/RTR                     2   2n - 3   1.5
//   2x2x4     TRTR/RTRT                   2   3n - 4   1
//   2x4x4     TRTR/RTRT/TRRT/RTTR         4   3n - 4   1
//   2x3x3     TRR/RTR/RRT (partial)       3   2n - 3   1.5
//   2x4x2     Balaam: TR/RT/TT/RR         4   n - 2    8
//   2x2x2r    repeated 2x2 crossover      2   3n - 2   1
//
// Sources. The 2x2 crossover and parallel groups: Chow SC, Liu JP, Design and
// Analysis of Bioavailability and Bioequivalence Studies, 3rd ed., CRC Press
// 2009, chapters 3-5 (the 2x2 estimate is half the difference of the
// sequences' mean period differences, variance sigma^2 / 2 (1/n1 + 1/n2)),
// and Hauschke D, Steinijans VW, Pigeot I, Bioequivalence Studies in Drug
// Development, Wiley 2007, chapter 5. The higher-order and replicate designs:
// Chen KW, Chow SC, Liu G, A note on sample size determination for
// bioequivalence studies with higher-order crossover designs, J
// Pharmacokinet Biopharm 1997;25:753-765, with the df of the model without a
// carry-over term (theirs, with carry-over, are one lower, and their 2x2x4
// constant 1.1 becomes 1); the repeated crossover: Liu JP, Use of the
// repeated crossover design in assessing bioequivalence, Stat Med
// 1995;14:1067-1078. These are the constants the regulatory planning
// literature and its software use, so that sizes planned here agree with
// published ones.
//
// Two entries are not what a fixed-effects model without carry-over gives,
// and are kept because the published sizes rest on them: Balaam's bk of 8
// is the variance of the estimate from (TR - TT) - (RT - RR), the one with a
// carry-over term (without it the TT and RR subjects estimate only the
// period effect and bk would be 4), while its df are the model's without
// carry-over; and the paired design takes s as the SD of one observation
// (the SD of the differences is s sqrt 2), like the crossover it stands for.

#include <optional>
#include <string_view>
#include <vector>

namespace tarnwick::be {

enum class BeDesign {
    parallel,
    paired,
    crossover2x2,    // 2x2 and 2x2x2
    latin3x3,        // 3x3
    williams3x6x3,   // 3x6x3
    latin4x4,        // 4x4
    replicate2x2x3,  // TRT/RTR
    replicate2x2x4,  // TRTR/RTRT
    replicate2x4x4,  // four sequences of four periods
    partial2x3x3,    // TRR/RTR/RRT
    balaam2x4x2,     // TR/RT/TT/RR
    repeated2x2x2r,  // the 2x2 crossover repeated
};

struct DesignConstants {
    std::string_view name;  // the design's name in tables and on command lines
    int sequences;          // S: sequences, or groups for parallel groups
    // df = dfPerSubject * n + dfOffset for n subjects in all.
    int dfPerSubject;
    int dfOffset;
    double bk;
};

// Every design, in the order of BeDesign.
const std::vector<BeDesign>& allDesigns();

const DesignConstants& designConstants(BeDesign design);

// The design a name stands for ("2x2x2" is "2x2"); none for an unknown name.
std::optional<BeDesign> designNamed(std::string_view name);

// The residual degrees of freedom with n subjects in all.
double degreesOfFreedom(BeDesign design, long totalSize);

// SE^2 / s^2 for the given subjects per sequence (one size per sequence):
// bk / S^2 * sum 1 / n_i.
double designConstant(BeDesign design, const std::vector<long>& sequenceSizes);

// n subjects split over the design's sequences as evenly as they go, the
// earlier sequences taking the one left over (25 in a 2x2: 13 and 12).
std::vector<long> evenSplit(BeDesign design, long totalSize);

}  // namespace tarnwick::be
