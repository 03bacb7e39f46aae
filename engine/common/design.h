#pragma once
// The design of a two-sample study, in one spelling for every room: the
// calculator's report, planning, the raw-score analyses and the programs.

namespace tarnwick {

enum class Design {
    independent,  // two groups of their own sizes
    matched,      // n pairs; the difference scores carry the analysis
};

}  // namespace tarnwick
