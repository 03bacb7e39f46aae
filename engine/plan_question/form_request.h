#pragma once
// A planning question read from a form's boxes (the planning window's): the
// choices as the form's buttons hold them, numbers by the calculator's own
// text rules ("." as the decimal mark in every locale) or with a decimal
// comma as the data window reads one ("1,5"). A box the question does not
// use keeps its text and is not read.

#include <string>

#include "plan_question.h"

namespace tarnwick::planner {

// The boxes' texts and the choices, as the form holds them.
struct PlanForm {
    Question question = Question::size;
    plan::Design design = plan::Design::independent;
    bool symmetric = true;  // bounds -bound and +bound; otherwise lower and upper
    // The question: equivalence, minimal effect (the difference beyond the
    // bounds), or a one-sided question with one margin (a difference, or a
    // ratio on the ratio scale) and the direction in which larger is better;
    // the bound boxes are then not read, nor the margin box otherwise.
    settings::Hypothesis hypothesis = settings::Hypothesis::equivalence;
    std::string margin;       // a difference (the difference scale)
    std::string marginRatio;  // a ratio (the ratio scale)
    settings::Better better = settings::Better::higher;
    bool sdUnits = false;        // the bounds typed (or found) as multiples of the SD
    std::string alpha = "0.05";  // a one-sided question's default is 0.025 (the window's)
    std::string bound, lower, upper;
    std::string difference = "0";
    std::string sd;
    std::string power = "0.8";  // the target, for a size or a bound
    std::string ratio = "1";    // n2 / n1, for a size in independent groups
    std::string n1, n2;         // the sizes, for a power or a bound; matched: n1 pairs
    // The ratio scale: a bioequivalence design in place of `design`, the
    // bounds as ratios in their own boxes, the CV (within-subject, or total
    // for parallel groups), the true ratio, and for a power the subjects in
    // all, split as evenly as the sequences allow. A size or a power only.
    bool ratioScale = false;
    be::BeDesign beDesign = be::BeDesign::crossover2x2;
    std::string lowerRatio = "0.80", upperRatio = "1.25";
    std::string cv;
    std::string ratio0 = "0.95";
    std::string total;
};

// The question in numbers. Throws RequestError with a sentence naming the
// box when a box the question needs holds no number (an empty margin box
// takes the question's default margin, where it has one) (notANumber, an empty
// box among them: a question not yet asked), a size is not whole
// (sizeNotWhole) or a symmetric bound is not above 0 (boundNotPositive); the
// planning engine judges everything else.
Request readForm(const PlanForm& form);

}  // namespace tarnwick::planner
