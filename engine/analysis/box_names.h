#pragma once
// Names of the window's boxes and options, shared by the analysis, the window
// and the tools that stand in for the window.

#include <array>
#include <string_view>

namespace tarnwick::names {

// The six group boxes, in the order the run command reads them.
inline constexpr std::array<std::string_view, 6> groupBoxes = {"TxtMean1", "TxtMean2", "TxtSD1",
                                                               "TxtSD2",   "TxtN1",    "TxtN2"};

inline constexpr std::array<std::string_view, 9> inputBoxes = {
    "TxtMean1", "TxtSD1",        "TxtN1",       "TxtMean2",    "TxtSD2",
    "TxtN2",    "TxtNotTrivial", "TxtMeanDiff", "TxtSDMatched"};

// The 26 result boxes of both frames, in the order the run command empties them.
inline constexpr std::array<std::string_view, 26> resultBoxes = {"TxtWelchT",
                                                                 "TxtWelchDF",
                                                                 "TxtWelch2PT",
                                                                 "TxtWelch1PT",
                                                                 "TxtT",
                                                                 "TxtDF",
                                                                 "txt1PT",
                                                                 "txt2PT",
                                                                 "TxtSdelta",
                                                                 "TxtTUpper",
                                                                 "TxtTLower",
                                                                 "TxtCrit05",
                                                                 "TxtDFUsed",
                                                                 "TxtCrit95",
                                                                 "TxtInterpretation",
                                                                 "TxtMatchedT",
                                                                 "TxtMatchedDF",
                                                                 "TxtMatched2P",
                                                                 "TxtMatched1P",
                                                                 "TxtMatchedSDelta",
                                                                 "TxtMatchedTUpper",
                                                                 "TxtMatchedTLower",
                                                                 "TxtMatchedCritT05",
                                                                 "TxtMatchedDFUsed",
                                                                 "TxtMatchedCritT95",
                                                                 "TxtMatchedInterpretation"};

// Result boxes whose text is red in the window's start state; every other is black.
inline constexpr std::array<std::string_view, 5> initiallyRedResultBoxes = {
    "TxtWelch1PT", "txt2PT", "txt1PT", "TxtMatched2P", "TxtMatched1P"};

inline constexpr std::string_view opIndependent = "opIndependent";
inline constexpr std::string_view opMatched = "opMatched";
inline constexpr std::string_view opStudent = "OpStudent";
inline constexpr std::string_view opWelch = "OpWelch";

}  // namespace tarnwick::names
