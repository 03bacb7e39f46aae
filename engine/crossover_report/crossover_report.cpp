#include "crossover_report.h"

#include <cmath>

#include "aligned_table.h"
#include "fixed_text.h"
#include "shortest_text.h"
#include "significant_text.h"

namespace tarnwick::crossover_report {
namespace {

using number_text::fixedText;
using number_text::shortestText;
using number_text::significantText;

std::string joined(const std::vector<std::string>& names, const char* between) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : between) + name;
    return text;
}

std::string plural(long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string limitsText(const CrossoverSettings& settings) {
    return percentText(settings.bounds.lower) + " to " + percentText(settings.bounds.upper);
}

std::string pText(double p) { return significantText(p, 4); }

bool equivalent(const CrossoverResult& result) {
    return result.decision == TostDecision::equivalent;
}

// Each left-out subject with what it had: "12 (R only)", "14 (no response)".
std::vector<std::string> leftOutNames(const CrossoverStudy& study, const CrossoverResult& result) {
    std::vector<std::string> named;
    for (const std::string& name : result.leftOut) {
        long test = 0, reference = 0;
        for (const crossover::Observation& o : study.observations) {
            if (study.subjects[o.subject].name != name) continue;
            ++(o.test ? test : reference);
        }
        const std::string had = test > 0        ? study.testName + " only"
                                : reference > 0 ? study.referenceName + " only"
                                                : std::string("no response");
        named.push_back(name + " (" + had + ")");
    }
    return named;
}

std::vector<std::string> anovaLines(const CrossoverResult& result) {
    std::vector<std::vector<std::string>> rows;
    for (const crossover::AnovaRow& row : result.anova)
        rows.push_back({row.source, significantText(row.ss, 6), shortestText(row.df),
                        significantText(row.ms, 6), row.f ? significantText(*row.f, 4) : "",
                        row.p ? pText(*row.p) : ""});
    return alignedTable(
        "Analysis of variance of the log responses (sequence tested against "
        "subjects within sequence, the rest against the residual):",
        {{"source"}, {"SS", true}, {"df", true}, {"MS", true}, {"F", true}, {"p", true}}, rows);
}

std::vector<std::string> meanLines(const CrossoverResult& result) {
    std::vector<std::vector<std::string>> rows;
    for (const crossover::SequencePeriodMean& mean : result.means)
        rows.push_back({mean.sequence, std::to_string(mean.period), std::to_string(mean.n),
                        significantText(std::exp(mean.meanLog), 6)});
    return alignedTable("Geometric means of the responses by sequence and period:",
                        {{"sequence"}, {"period", true}, {"n", true}, {"geometric mean", true}},
                        rows);
}

}  // namespace

std::string percentText(double ratio) { return fixedText(100 * ratio, 2) + "%"; }

std::string levelText(const CrossoverSettings& settings) {
    return shortestText(100 * (1 - 2 * settings.alpha));
}

std::string studyLine(const CrossoverStudy& study, const CrossoverResult& result) {
    return (study.name.empty() ? std::string() : "Study " + study.name + ": ") +
           plural(result.subjects, "subject", "subjects") + ", " +
           plural(result.observations, "response", "responses") + ", sequences " + result.design +
           ", " + study.testName + " against " + study.referenceName;
}

std::string answerLine(const CrossoverResult& result, const CrossoverSettings& settings) {
    return "ratio " + percentText(result.ratio) + ", " + levelText(settings) + "% CI " +
           percentText(result.low) + " to " + percentText(result.high) + " against " +
           limitsText(settings) + ": " +
           (equivalent(result) ? "equivalent" : "not shown equivalent");
}

std::vector<std::string> reportLines(const CrossoverStudy& study, const CrossoverResult& result,
                                     const CrossoverSettings& settings) {
    const std::string level = levelText(settings);
    const std::string ratioName = study.testName + "/" + study.referenceName;
    std::vector<std::string> lines;
    lines.push_back(studyLine(study, result) + ".");
    if (study.missing > 0)
        lines.push_back(plural(study.missing, "response was", "responses were") +
                        " missing and skipped.");
    lines.push_back("");
    lines.push_back("The ratio of the geometric means " + ratioName + " is " +
                    percentText(result.ratio) + ", with a " + level +
                    "% confidence interval from " + percentText(result.low) + " to " +
                    percentText(result.high) + " (df " + shortestText(result.df) + ").");
    lines.push_back("Against the limits " + limitsText(settings) +
                    " at alpha = " + shortestText(settings.alpha) + " each side: p (ratio <= " +
                    percentText(settings.bounds.lower) + ") = " + pText(result.pLower) +
                    ", p (ratio >= " + percentText(settings.bounds.upper) +
                    ") = " + pText(result.pUpper) + ".");
    lines.push_back(equivalent(result)
                        ? "Conclusion: equivalent; the " + level +
                              "% confidence interval lies within the limits."
                        : "Conclusion: not shown equivalent; the " + level +
                              "% confidence interval does not lie within the limits.");
    std::string cv = "Within-subject CV: " + percentText(result.cvWithin) + ".";
    if (result.cvReference)
        cv += " The reference's within-subject CV: " + percentText(*result.cvReference) + " (df " +
              shortestText(result.dfReference) + ").";
    lines.push_back(cv);
    if (!result.leftOut.empty()) {
        lines.push_back("");
        lines.push_back(
            "Left out, without both formulations (they say nothing of the "
            "difference): " +
            joined(leftOutNames(study, result), ", ") + ".");
    }
    if (!study.incomplete.empty()) {
        if (result.leftOut.empty()) lines.push_back("");
        lines.push_back("Lacking periods of their sequence: " + joined(study.incomplete, ", ") +
                        ".");
    }
    if (!result.anova.empty()) {
        lines.push_back("");
        for (std::string& line : anovaLines(result))
            lines.push_back(std::move(line));
    }
    lines.push_back("");
    for (std::string& line : meanLines(result))
        lines.push_back(std::move(line));
    return lines;
}

std::string reportText(const CrossoverStudy& study, const CrossoverResult& result,
                       const CrossoverSettings& settings) {
    std::string text;
    for (const std::string& line : reportLines(study, result, settings))
        text += line + "\n";
    return text;
}

FigureWords figureWords(const CrossoverStudy& study, const CrossoverResult& result,
                        const CrossoverSettings& settings,
                        const std::vector<crossover::SubjectRatio>& ratios) {
    const std::string ratioName = study.testName + "/" + study.referenceName;
    FigureWords words;
    words.title = "Each subject's ratio " + ratioName + ", by sequence";
    for (std::size_t s = 0; s < study.sequences.size(); ++s) {
        long n = 0;
        for (const crossover::SubjectRatio& ratio : ratios)
            n += ratio.sequence == s ? 1 : 0;
        words.sequenceCaptions.push_back(study.sequences[s] + " (n = " + std::to_string(n) + ")");
    }
    words.intervalCaption = levelText(settings) +
                            "% CI: " + (equivalent(result) ? "equivalent" : "not shown equivalent");
    words.axisTitle = "Ratio " + ratioName + " (geometric mean of a subject's " + study.testName +
                      " over its " + study.referenceName + " responses), log scale";
    words.legend = {"Dots: the subjects; bar: the " + levelText(settings) +
                        "% confidence interval, diamond: its estimate",
                    "Dashed: the limits, " + percentText(settings.bounds.lower) + " and " +
                        percentText(settings.bounds.upper) + ", shaded between; grey: 100%"};
    return words;
}

}  // namespace tarnwick::crossover_report
