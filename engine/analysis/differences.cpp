// The equivalence analysis. Every step records its statement label before it
// runs: the error report quotes the label of the step that failed, so the
// labels are part of what the user sees and must not be renumbered. A step is
// written `at(label), statement;` so that each reads as one labelled line.

#include "differences.h"

#include <string>

#include "box_names.h"
#include "critical_value_memo.h"
#include "guarded.h"
#include "number_text.h"
#include "run_record.h"
#include "run_time_error.h"
#include "t_distribution.h"

namespace tarnwick {
namespace {

using guarded::add;
using guarded::div;
using guarded::mul;
using guarded::root;
using guarded::sub;

// Squares and fourth powers are not checked on their own: an overflow in them
// surfaces in the checked operation that uses them.
//
// C++ leaves the order in which a call's arguments are evaluated unspecified,
// so a checked operation never takes two checked operations as its arguments:
// each is named and computed first, left to right, so that when two terms of a
// step would both fail, the error reported is the left one's, as written.
double square(double x) { return x * x; }
double fourthPower(double x) { return square(square(x)); }

constexpr std::string_view trivialVerdict =
    "Difference is trivial (i.e., the samples appear equivalent).";
constexpr std::string_view nonTrivialVerdict =
    "Difference is non-trivial (i.e., the samples do not appear equivalent.)";
constexpr std::string_view blueBoxMissing = "You Must Enter A Value In The Blue Box";
constexpr std::string_view zeroGroupInput =
    "None of your input boxes can equal 0. Dividing by zero does very bad things to computers.";
constexpr std::string_view matchedInputMissing =
    "You must enter the mean of the difference scores and the standard deviation of the "
    "difference scores, if you selected matched samples";
constexpr std::string_view zeroMatchedInput =
    "You cannot have 0 as a mean difference or the sd of the mean difference. Computers do funny "
    "things when you try to divide by zero.";
constexpr std::string_view inputErrorTitle = "Input Error";

// How the p values are judged: by the value the user sees, not the unrounded one.
constexpr double significanceLevel = 0.05;

class Analysis {
public:
    Analysis(BoxAccess& boxes, RunRecord* record)
        : boxes_(boxes), t_(TDistribution::instance()), record_(record) {}

    void run() {
        at(180);
        try {
            if (!readInputs()) return;
            independentSamples();
            at(1120);
            if (boxes_.isSelected(names::opMatched)) {
                if (!matchedSamples()) return;
            }
            at(1650);
            if (record_ != nullptr) record_->endedWithResults = true;
        } catch (const RunTimeError& error) {
            reportError(error);
        }
    }

private:
    void at(int line) { line_ = line; }

    double number(std::string_view box) const { return textToNumber(boxes_.text(box)); }
    bool isEmpty(std::string_view box) const { return boxes_.text(box).empty(); }
    void show(std::string_view box, double value) { boxes_.setText(box, shownValue(value)); }
    void colour(std::string_view box, Colour c) { boxes_.setTextColour(box, c); }

    double twoTailedP(double t, double df) const { return t_.TailProbability(t, df, 2); }
    double upperFivePercentPoint(double df) const { return memoisedCriticalValue(0.05, df, 1); }

    // Returns false when the zero check has refused the inputs.
    bool readInputs() {
        at(190), mean1_ = number("TxtMean1");
        at(200), mean2_ = number("TxtMean2");
        at(210), sd1_ = number("TxtSD1");
        at(220), sd2_ = number("TxtSD2");
        at(230), n1_ = number("TxtN1");
        at(240), n2_ = number("TxtN2");
        at(250);
        if (!isEmpty("TxtNotTrivial")) {
            at(260), notTrivial_ = number("TxtNotTrivial");
        }

        // All five conditions are evaluated, so an overflow in the difference
        // is reported even when a size is zero.
        at(280);
        const bool n1Ok = n1_ != 0;
        const bool n2Ok = n2_ != 0;
        const bool meansDiffer = sub(mean1_, mean2_) != 0;
        const bool sd1Ok = sd1_ != 0;
        const bool sd2Ok = sd2_ != 0;
        if (n1Ok && n2Ok && meansDiffer && sd1Ok && sd2Ok) return true;
        at(290);
        boxes_.showMessage(zeroGroupInput, MessageIcon::error, applicationTitle);
        return false;
    }

    // The two- and one-tailed p values of one test, the one-tailed the
    // two-tailed halved before rounding; each coloured red when the value shown
    // is below the significance level. Both tests use the same run of labels.
    // The tail probability is computed once: were it to fail, it would fail at
    // the first label, where it is computed. Returns the two-tailed p as
    // computed, before rounding.
    double showPValues(double t, double df, std::string_view twoTailedBox,
                       std::string_view oneTailedBox, int firstLine) {
        at(firstLine);
        const double p2 = twoTailedP(t, df);
        show(twoTailedBox, p2);
        at(firstLine + 10), show(oneTailedBox, p2 / 2);
        at(firstLine + 20), colourByShownP(twoTailedBox, firstLine + 30, firstLine + 50);
        at(firstLine + 70), colourByShownP(oneTailedBox, firstLine + 80, firstLine + 100);
        return p2;
    }

    void colourByShownP(std::string_view box, int redLine, int blackLine) {
        if (number(box) < significanceLevel) {
            at(redLine), colour(box, colours::red);
        } else {
            at(blackLine), colour(box, colours::black);
        }
    }

    void independentSamples() {
        at(320), diff_ = sub(mean1_, mean2_);
        at(330), welchSE_ = root(welchVarianceOfDiff());
        at(340), welchT_ = div(diff_, welchSE_);
        at(350);
        const double w = square(welchVarianceOfDiff());
        at(360);
        const auto [v1, v2] = guarded::termsOfOneStep(
            [&] { return div(fourthPower(sd1_), mul(square(n1_), sub(n1_, 1))); },
            [&] { return div(fourthPower(sd2_), mul(square(n2_), sub(n2_, 1))); });
        const double v = add(v1, v2);
        at(370), welchDF_ = div(w, v);
        at(380), show("TxtWelchT", welchT_);
        at(390), show("TxtWelchDF", welchDF_);
        welchP2_ = showPValues(welchT_, welchDF_, "TxtWelch2PT", "TxtWelch1PT", 400);

        at(520);
        {
            const double sumOfSquares = pooledSumOfSquares();
            const double pooledDF = sub(add(n1_, n2_), 2);
            pooledVariance_ = div(sumOfSquares, pooledDF);
            const double reciprocal1 = div(1, n1_);
            const double reciprocal2 = div(1, n2_);
            studentSE_ = root(mul(pooledVariance_, add(reciprocal1, reciprocal2)));
        }
        at(530), studentT_ = div(sub(mean1_, mean2_), studentSE_);
        at(540), studentDF_ = sub(add(n1_, n2_), 2);
        at(550), boxes_.setText("TxtDF", numberToText(studentDF_));
        at(560), show("TxtT", studentT_);
        studentP2_ = showPValues(studentT_, studentDF_, "txt2PT", "txt1PT", 570);

        at(690);
        {
            const double sumOfSquares = pooledSumOfSquares();
            const double numerator = mul(sumOfSquares, add(n1_, n2_));
            const double pooledDF = sub(add(n1_, n2_), 2);
            const double denominator = mul(pooledDF, mul(n1_, n2_));
            sDelta_ = root(div(numerator, denominator));
        }
        at(700), show("TxtSdelta", sDelta_);

        at(710);
        if (isEmpty("TxtNotTrivial")) {
            askForNonTrivialDifference("TxtTUpper", "TxtTLower", 1070);
            recordIndependent(std::nullopt);
            return;
        }
        at(720), tUpper_ = div(sub(diff_, notTrivial_), sDelta_);
        at(730), tLower_ = div(sub(diff_, -notTrivial_), sDelta_);
        at(740), show("TxtTUpper", tUpper_);
        at(750), show("TxtTLower", tLower_);
        at(760);
        const bool student = boxes_.isSelected(names::opStudent);
        const int first = student ? 770 : 830;
        const double dfUsed = student ? studentDF_ : welchDF_;
        // One critical value serves both tests; were it to fail, it would fail
        // at the first label, where it is computed.
        at(first);
        const double criticalValue = upperFivePercentPoint(dfUsed);
        crit05_ = 0 - criticalValue;
        at(first + 10), show("TxtCrit05", crit05_);
        at(first + 20), crit95_ = criticalValue;
        at(first + 30), show("TxtCrit95", crit95_);
        at(first + 40), show("TxtDFUsed", dfUsed);
        const OneSidedTests tests{notTrivial_, sDelta_, tUpper_, tLower_, dfUsed, crit05_, crit95_};
        recordIndependent(judge({"TxtInterpretation", "TxtTUpper", "TxtTLower"}, tests,
                                {890, 900, 910, 930, 940, 960, 970, 990, 1010, 1020, 1040}));
    }

    // SD1²/N1 + SD2²/N2, the variance of the difference without pooling.
    double welchVarianceOfDiff() const {
        const double term1 = div(square(sd1_), n1_);
        const double term2 = div(square(sd2_), n2_);
        return add(term1, term2);
    }

    // SD1² (N1 - 1) + SD2² (N2 - 1).
    double pooledSumOfSquares() const {
        const double term1 = mul(square(sd1_), sub(n1_, 1));
        const double term2 = mul(square(sd2_), sub(n2_, 1));
        return add(term1, term2);
    }

    void recordIndependent(std::optional<OneSidedTests> tests) {
        if (record_ == nullptr) return;
        record_->independent =
            IndependentRecord{mean1_,     mean2_,    sd1_,
                              sd2_,       n1_,       n2_,
                              diff_,      welchSE_,  welchT_,
                              welchDF_,   welchP2_,  pooledVariance_,
                              studentSE_, studentT_, studentDF_,
                              studentP2_, sDelta_,   !boxes_.isSelected(names::opStudent),
                              tests};
    }

    // Returns false when a refusal message has ended the analysis.
    bool matchedSamples() {
        at(1130);
        const bool sdMissing = isEmpty("TxtSDMatched");
        const bool meanMissing = isEmpty("TxtMeanDiff");
        if (sdMissing || meanMissing) {
            at(1140);
            boxes_.showMessage(matchedInputMissing, MessageIcon::information, inputErrorTitle);
            return false;
        }
        at(1170);
        const double meanDiff = number("TxtMeanDiff");
        at(1180);
        const double sdMatched = number("TxtSDMatched");
        at(1190);
        if (meanDiff == 0 || sdMatched == 0) {
            at(1200);
            boxes_.showMessage(zeroMatchedInput, MessageIcon::error, applicationTitle);
            return false;
        }

        at(1230), boxes_.setText("TxtMatchedDF", numberToText(sub(n1_, 1)));
        at(1240);
        const double matchedT = div(meanDiff, div(sdMatched, root(n1_)));
        at(1250), show("TxtMatchedT", matchedT);
        at(1260);
        const double matchedP2 = twoTailedP(matchedT, sub(n1_, 1));
        show("TxtMatched2P", matchedP2);
        at(1270), show("TxtMatched1P", matchedP2 / 2);
        const auto recordMatched = [&](std::optional<OneSidedTests> tests) {
            if (record_ != nullptr) {
                record_->matched =
                    MatchedRecord{n1_, meanDiff, sdMatched, matchedT, n1_ - 1, matchedP2, tests};
            }
        };

        at(1280);
        if (isEmpty("TxtNotTrivial")) {
            askForNonTrivialDifference("TxtMatchedTUpper", "TxtMatchedTLower", 1580);
            recordMatched(std::nullopt);
            return true;
        }
        at(1290);
        const double matchedSDelta = root(div(square(sdMatched), n1_));
        at(1300), show("TxtMatchedSDelta", matchedSDelta);
        at(1310);
        const double tUpper = div(sub(meanDiff, notTrivial_), matchedSDelta);
        at(1320);
        const double tLower = div(sub(meanDiff, -notTrivial_), matchedSDelta);
        at(1330), show("TxtMatchedTUpper", tUpper);
        at(1340), show("TxtMatchedTLower", tLower);
        at(1350);
        const double criticalValue = upperFivePercentPoint(sub(n1_, 1));
        const double crit05 = 0 - criticalValue;
        at(1360), show("TxtMatchedCritT05", crit05);
        at(1370);
        const double crit95 = criticalValue;
        at(1380), show("TxtMatchedCritT95", crit95);
        at(1390), show("TxtMatchedDFUsed", sub(n1_, 1));
        const OneSidedTests tests{notTrivial_, matchedSDelta, tUpper, tLower,
                                  n1_ - 1,     crit05,        crit95};
        recordMatched(judge({"TxtMatchedInterpretation", "TxtMatchedTUpper", "TxtMatchedTLower"},
                            tests,
                            {1400, 1410, 1420, 1440, 1450, 1470, 1480, 1500, 1520, 1530, 1550}));
        return true;
    }

    struct VerdictBoxes {
        std::string_view interpretation, tUpper, tLower;
    };
    // Labels of the verdict steps, in the order they run.
    struct VerdictLines {
        int test, trivialText, trivialColour, nonTrivialText, nonTrivialColour;
        int upperTest, upperBlue, upperRed, lowerTest, lowerBlue, lowerRed;
    };

    // The two one-sided tests compare the unrounded values; ties count against
    // equivalence, so the verdict is trivial exactly when both t boxes are blue.
    OneSidedTests judge(VerdictBoxes boxes, OneSidedTests tests, VerdictLines lines) {
        const bool upperPasses = tests.tUpper < tests.crit05;
        const bool lowerPasses = tests.tLower > tests.crit95;
        tests.upperPasses = upperPasses;
        tests.lowerPasses = lowerPasses;
        tests.trivial = upperPasses && lowerPasses;
        at(lines.test);
        if (upperPasses && lowerPasses) {
            at(lines.trivialText), boxes_.setText(boxes.interpretation, trivialVerdict);
            at(lines.trivialColour), colour(boxes.interpretation, colours::blue);
        } else {
            at(lines.nonTrivialText), boxes_.setText(boxes.interpretation, nonTrivialVerdict);
            at(lines.nonTrivialColour), colour(boxes.interpretation, colours::red);
        }
        at(lines.upperTest);
        if (upperPasses) {
            at(lines.upperBlue), colour(boxes.tUpper, colours::blue);
        } else {
            at(lines.upperRed), colour(boxes.tUpper, colours::red);
        }
        at(lines.lowerTest);
        if (lowerPasses) {
            at(lines.lowerBlue), colour(boxes.tLower, colours::blue);
        } else {
            at(lines.lowerRed), colour(boxes.tLower, colours::red);
        }
        return tests;
    }

    void askForNonTrivialDifference(std::string_view tUpperBox, std::string_view tLowerBox,
                                    int firstLine) {
        at(firstLine), colour(tUpperBox, colours::blue);
        at(firstLine + 10), colour(tLowerBox, colours::blue);
        at(firstLine + 20), boxes_.setText(tUpperBox, blueBoxMissing);
        at(firstLine + 30), boxes_.setText(tLowerBox, blueBoxMissing);
    }

    void reportError(const RunTimeError& error) {
        const std::string message = "Error " + std::to_string(error.number()) + " (" +
                                    error.description() + ") in procedure Differences, line " +
                                    std::to_string(line_) + ".";
        boxes_.showMessage(message, MessageIcon::none, applicationTitle);
    }

    BoxAccess& boxes_;
    const TDistribution& t_;
    RunRecord* record_;
    int line_ = 0;

    double mean1_ = 0, mean2_ = 0, sd1_ = 0, sd2_ = 0, n1_ = 0, n2_ = 0;
    double notTrivial_ = 0;
    double diff_ = 0, welchSE_ = 0, welchT_ = 0, welchDF_ = 0, welchP2_ = 0;
    double pooledVariance_ = 0, studentSE_ = 0, studentT_ = 0, studentDF_ = 0, studentP2_ = 0;
    double sDelta_ = 0;
    double tUpper_ = 0, tLower_ = 0, crit05_ = 0, crit95_ = 0;
};

}  // namespace

void Differences(BoxAccess& boxes, RunRecord* record) { Analysis(boxes, record).run(); }

}  // namespace tarnwick
