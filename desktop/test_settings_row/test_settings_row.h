#pragma once
// The row of settings a test is asked with, one form for every window that
// asks it: alpha, the lower and upper bound, bounds in SD units, Welch's
// standard error, and the hypothesis: equivalence, the minimal-effect test,
// or a one-sided question (non-inferiority, non-superiority, superiority)
// with the direction in which effects are better. A one-sided question
// takes one margin: the lower bound's box becomes the margin's, the upper
// one is disabled, and blank alpha and margin are the question's defaults,
// shown as placeholders (.025, and the margin the engine defaults to). A window that has no SD to
// standardise by or no pooled standard error (raw scores) hides those two
// choices. The scale (difference or ratio) comes first: on the ratio scale
// the bound boxes take ratios (blank: 0.80 and 1.25; one alone: the other is
// its reciprocal) and SD units mean nothing, so that choice is disabled; the
// difference scale's bound texts are kept and come back with it. Held by
// composition; alpha and the bounds are read by the test
// settings' one reader (engine/test_settings/setting_text.h), "." as the
// decimal mark in every locale.

#include <QWidget>
#include <optional>

#include "test_settings.h"
#include "ui_TestSettingsRow.h"

namespace tarnwick {

class TestSettingsRow final : public QWidget {
    Q_OBJECT

public:
    explicit TestSettingsRow(QWidget* parent = nullptr);

    // Bounds in SD units and Welch's standard error: shown unless a window
    // has no use for them.
    void setUnitAndErrorChoicesShown(bool shown);
    // A window whose question is a ratio of formulations and has no
    // minimal-effect test (a crossover study): the ratio scale alone, its
    // bounds typed as ratios, the scale and the other choices hidden.
    void setRatioOnly();

    QString alphaText() const { return ui.txtAlpha->text(); }
    QString lowerText() const { return ui.txtLower->text(); }
    QString upperText() const { return ui.txtUpper->text(); }
    bool sdUnits() const { return ui.chkSdUnits->isChecked(); }
    bool welch() const { return ui.chkWelch->isChecked(); }
    bool minimalEffect() const { return hypothesis() == settings::Hypothesis::minimalEffect; }
    settings::Scale scale() const;
    settings::Better better() const;

    // Set without announcing changed(): a window fills its row before it
    // listens to it.
    void setTexts(const QString& alpha, const QString& lower, const QString& upper);
    void setChoices(bool sdUnits, bool welch, bool minimalEffect);
    // The hypothesis and the better direction, without announcing changed().
    void setQuestion(settings::Hypothesis hypothesis, settings::Better better);
    // The bounds the window filled the boxes with (-delta and +delta): a
    // lower bound left as filled gives way to the default margin when a
    // one-sided question is chosen, and the placeholder shows that margin.
    void setFilledBounds(const QString& lower, const QString& upper);
    // The scale, with the bound texts of the scale chosen (empty for the
    // ratio's usual bounds), without announcing changed().
    void setScale(settings::Scale scale, const QString& lower, const QString& upper);

    // Alpha as typed (blank: .025 for a one-sided question), or the
    // sentence why it cannot be used.
    std::optional<double> typedAlpha(QString* why) const;
    // A one-sided question's margin as typed, into `margin` (nullopt: blank,
    // the default); false with the sentence why it cannot be read.
    bool typedMargin(std::optional<double>* margin, QString* why) const;
    // Both bounds as typed, lower below upper, or the sentence why they
    // cannot be used. On the ratio scale blank boxes are the usual 0.80 and
    // 1.25, and one bound alone is taken with its reciprocal.
    std::optional<settings::Bounds> typedBounds(QString* why) const;
    settings::Hypothesis hypothesis() const;

signals:
    // Any setting typed or ticked.
    void changed();

private:
    void scaleChosen();
    // Two-sided to one-sided or back: alpha and the lower bound left at
    // the other kind's defaults take this kind's.
    void hypothesisChosen();
    // The labels, names, placeholders and enabled boxes of the question shown.
    void showQuestion();

    Ui::TestSettingsRow ui;
    settings::Scale shownScale_ = settings::Scale::difference;
    // The other scale's bound texts, put back when it is chosen again.
    QString otherLower_, otherUpper_;
    QString filledLower_, filledUpper_;
    bool oneSidedShown_ = false;
};

}  // namespace tarnwick
