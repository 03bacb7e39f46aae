#pragma once
// The report's designs on the ratio scale: the ratio of the means, group 1
// over group 2, tested by Fieller's method from the means and SDs the
// calculator holds (fieller.h). What is tested against each bound theta is
// m1 - theta m2, whose standard error depends on theta:
//   independent, pooled: sp^2 (1/n1 + theta^2/n2), n1 + n2 - 2 df;
//   independent, Welch:  SD1^2/n1 + theta^2 SD2^2/n2, with Welch's df of that
//                        variance at the estimate m1 / m2, one df for both
//                        tests and the interval, so that the interval is
//                        exactly the set of ratios neither test rejects;
//   matched: (SD1^2 + theta^2 SD2^2 - theta (SD1^2 + SD2^2 - SDd^2)) / N,
//            N - 1 df (SDd the SD of the difference scores).
// The ordinary test of a ratio of 1 is the test of a difference of 0, the
// calculator's own; its interval is Fieller's with that test's SE and df.

#include "report.h"

namespace tarnwick::report {

// Throws SettingsError error::ratioReference when group 2's mean is not
// above 0 (a ratio to a mean at or below 0 is no fraction of a reference),
// and error::ratioSds when the matched SDs fit no correlation in [-1, 1]
// (SDd outside |SD1 - SD2| to SD1 + SD2), which would make a variance
// negative.
void checkRatioInputs(const RunRecord& record);

DesignReport ratioIndependentReport(const IndependentRecord& r, const settings::TestSettings& s);
DesignReport ratioMatchedReport(const IndependentRecord& groups, const MatchedRecord& r,
                                const settings::TestSettings& s);

}  // namespace tarnwick::report
