#include "test_settings_row.h"

#include <QSignalBlocker>

#include "setting_text.h"
#include "shortest_text.h"

namespace tarnwick {

TestSettingsRow::TestSettingsRow(QWidget* parent) : QWidget(parent) {
    ui.setupUi(this);
    for (QLineEdit* box : {ui.txtAlpha, ui.txtLower, ui.txtUpper})
        connect(box, &QLineEdit::textChanged, this, &TestSettingsRow::changed);
    for (QCheckBox* box : {ui.chkSdUnits, ui.chkWelch})
        connect(box, &QCheckBox::toggled, this, &TestSettingsRow::changed);
    connect(ui.cmbScale, &QComboBox::currentIndexChanged, this, [this] {
        scaleChosen();
        emit changed();
    });
    connect(ui.cmbHypothesis, &QComboBox::currentIndexChanged, this, [this] {
        hypothesisChosen();
        emit changed();
    });
    connect(ui.cmbBetter, &QComboBox::currentIndexChanged, this, [this] {
        showQuestion();
        emit changed();
    });
    showQuestion();
}

namespace {

// The hypothesis combo box's order.
constexpr settings::Hypothesis hypotheses[] = {
    settings::Hypothesis::equivalence, settings::Hypothesis::minimalEffect,
    settings::Hypothesis::nonInferiority, settings::Hypothesis::nonSuperiority,
    settings::Hypothesis::superiority};

QString levelText(double alpha) { return QString::fromStdString(number_text::shortestText(alpha)); }

}  // namespace

settings::Hypothesis TestSettingsRow::hypothesis() const {
    const int i = ui.cmbHypothesis->currentIndex();
    return i >= 0 && i < static_cast<int>(std::size(hypotheses))
               ? hypotheses[i]
               : settings::Hypothesis::equivalence;
}

settings::Better TestSettingsRow::better() const {
    return ui.cmbBetter->currentIndex() == 1 ? settings::Better::lower : settings::Better::higher;
}

void TestSettingsRow::setQuestion(settings::Hypothesis hypothesis, settings::Better better) {
    const QSignalBlocker quiet(this);
    for (int i = 0; i < static_cast<int>(std::size(hypotheses)); ++i)
        if (hypotheses[i] == hypothesis) ui.cmbHypothesis->setCurrentIndex(i);
    ui.cmbBetter->setCurrentIndex(better == settings::Better::lower ? 1 : 0);
    oneSidedShown_ = settings::isOneSided(hypothesis);
    showQuestion();
}

void TestSettingsRow::setFilledBounds(const QString& lower, const QString& upper) {
    filledLower_ = lower;
    filledUpper_ = upper;
    showQuestion();
}

void TestSettingsRow::hypothesisChosen() {
    const bool oneSided = settings::isOneSided(hypothesis());
    if (oneSided != oneSidedShown_) {
        oneSidedShown_ = oneSided;
        const QSignalBlocker quiet(this);
        const auto reads = [](const QString& text, double value) {
            try {
                return settings::readAlpha(text.toStdString()) == value;
            } catch (const settings::SettingsError&) {
                return false;
            }
        };
        const bool difference = scale() == settings::Scale::difference;
        if (oneSided) {
            if (reads(ui.txtAlpha->text(), settings::calculatorAlpha)) ui.txtAlpha->clear();
            if (difference && ui.txtLower->text() == filledLower_) ui.txtLower->clear();
        } else {
            if (ui.txtAlpha->text().trimmed().isEmpty())
                ui.txtAlpha->setText(levelText(settings::calculatorAlpha));
            if (difference && ui.txtLower->text().trimmed().isEmpty())
                ui.txtLower->setText(filledLower_);
        }
    }
    showQuestion();
}

// A one-sided question relabels the lower bound's box as its margin, with
// the default margin as placeholder, and disables the upper bound's.
void TestSettingsRow::showQuestion() {
    const bool oneSided = settings::isOneSided(hypothesis());
    const bool ratio = scale() == settings::Scale::ratio;
    ui.lblBetter->setEnabled(oneSided);
    ui.cmbBetter->setEnabled(oneSided);
    ui.lblUpper->setEnabled(!oneSided);
    ui.txtUpper->setEnabled(!oneSided);
    ui.lblLower->setText(oneSided ? QStringLiteral("&Margin:") : QStringLiteral("Lower &bound:"));
    ui.txtLower->setAccessibleName(oneSided ? QStringLiteral("Margin")
                                            : QStringLiteral("Lower bound"));
    ui.txtLower->setToolTip(
        oneSided ? QStringLiteral("The one-sided question's margin: a difference, or a ratio such "
                                  "as 0.80 on the ratio scale; blank for the default shown")
                 : QStringLiteral("The lower bound; filled with minus the non-trivial difference"));
    ui.txtAlpha->setPlaceholderText(oneSided ? levelText(settings::oneSidedAlpha) : QString());
    QString margin;
    if (oneSided) {
        settings::TestSettings s;
        s.hypothesis = hypothesis();
        s.better = better();
        s.scale = scale();
        const std::optional<double> delta = settings::numberFromText(filledUpper_.toStdString());
        if (const std::optional<double> m = settings::marginOrDefault(s, delta))
            margin = QString::fromStdString(number_text::shortestText(*m));
    }
    ui.txtLower->setPlaceholderText(oneSided ? margin : ratio ? QStringLiteral("0.80") : QString());
    ui.txtUpper->setPlaceholderText(!oneSided && ratio ? QStringLiteral("1.25") : QString());
}

settings::Scale TestSettingsRow::scale() const {
    return ui.cmbScale->currentIndex() == 1 ? settings::Scale::ratio : settings::Scale::difference;
}

// The bound boxes follow the scale: each keeps its own texts, the ratio's
// placeholders show its usual bounds, and SD units are the difference's alone.
void TestSettingsRow::scaleChosen() {
    const settings::Scale now = scale();
    if (now == shownScale_) return;
    shownScale_ = now;
    const QSignalBlocker quiet(this);
    const QString lower = ui.txtLower->text(), upper = ui.txtUpper->text();
    ui.txtLower->setText(otherLower_);
    ui.txtUpper->setText(otherUpper_);
    otherLower_ = lower;
    otherUpper_ = upper;
    const bool ratio = now == settings::Scale::ratio;
    if (ratio) ui.chkSdUnits->setChecked(false);
    ui.chkSdUnits->setEnabled(!ratio);
    showQuestion();
}

void TestSettingsRow::setScale(settings::Scale scale, const QString& lower, const QString& upper) {
    const QSignalBlocker quiet(this);
    if (scale != this->scale()) {
        ui.cmbScale->setCurrentIndex(scale == settings::Scale::ratio ? 1 : 0);
        scaleChosen();
    }
    ui.txtLower->setText(lower);
    ui.txtUpper->setText(upper);
}

void TestSettingsRow::setUnitAndErrorChoicesShown(bool shown) {
    ui.chkSdUnits->setVisible(shown);
    ui.chkWelch->setVisible(shown);
    if (!shown) {
        const QSignalBlocker quiet(this);
        ui.chkSdUnits->setChecked(false);
        ui.chkWelch->setChecked(false);
    }
}

void TestSettingsRow::setRatioOnly() {
    setScale(settings::Scale::ratio, QString(), QString());
    setUnitAndErrorChoicesShown(false);
    const QSignalBlocker quiet(this);
    // The crossover analysis asks equivalence only.
    ui.cmbHypothesis->setCurrentIndex(0);
    oneSidedShown_ = false;
    for (QWidget* choice :
         {static_cast<QWidget*>(ui.lblScale), static_cast<QWidget*>(ui.cmbScale),
          static_cast<QWidget*>(ui.lblHypothesis), static_cast<QWidget*>(ui.cmbHypothesis),
          static_cast<QWidget*>(ui.lblBetter), static_cast<QWidget*>(ui.cmbBetter)})
        choice->setVisible(false);
    showQuestion();
    ui.txtLower->setToolTip(QStringLiteral("The lower limit, a ratio such as 0.80; blank: 0.80"));
    ui.txtUpper->setToolTip(QStringLiteral("The upper limit, a ratio such as 1.25; blank: 1.25"));
}

void TestSettingsRow::setTexts(const QString& alpha, const QString& lower, const QString& upper) {
    const QSignalBlocker quiet(this);
    ui.txtAlpha->setText(alpha);
    ui.txtLower->setText(lower);
    ui.txtUpper->setText(upper);
}

void TestSettingsRow::setChoices(bool sdUnits, bool welch, bool minimalEffect) {
    const QSignalBlocker quiet(this);
    ui.chkSdUnits->setChecked(sdUnits && ui.chkSdUnits->isVisibleTo(this));
    ui.chkWelch->setChecked(welch && ui.chkWelch->isVisibleTo(this));
    const settings::Hypothesis now = hypothesis();
    if (minimalEffect || now == settings::Hypothesis::minimalEffect) {
        ui.cmbHypothesis->setCurrentIndex(minimalEffect ? 1 : 0);
        oneSidedShown_ = false;
    }
    showQuestion();
}

std::optional<double> TestSettingsRow::typedAlpha(QString* why) const {
    try {
        std::optional<double> alpha = settings::readAlpha(ui.txtAlpha->text().toStdString());
        if (!alpha && settings::isOneSided(hypothesis())) alpha = settings::oneSidedAlpha;
        if (!alpha)
            *why = QStringLiteral("Type alpha, a number above 0 and below 0.5 such as 0.05.");
        return alpha;
    } catch (const settings::SettingsError& e) {
        *why = QString::fromStdString(e.description());
        return std::nullopt;
    }
}

std::optional<settings::Bounds> TestSettingsRow::typedBounds(QString* why) const {
    const QString lower = ui.txtLower->text(), upper = ui.txtUpper->text();
    if (scale() == settings::Scale::ratio) {
        try {
            return settings::readBounds(lower.toStdString(), upper.toStdString(), '.',
                                        settings::Scale::ratio)
                .value_or(settings::defaultRatioBounds);
        } catch (const settings::SettingsError& e) {
            *why = QString::fromStdString(e.description());
            return std::nullopt;
        }
    }
    if (lower.trimmed().isEmpty() || upper.trimmed().isEmpty()) {
        *why = QStringLiteral("Type both bounds, as numbers such as -0.5 and 0.5.");
        return std::nullopt;
    }
    try {
        return settings::readBounds(lower.toStdString(), upper.toStdString());
    } catch (const settings::SettingsError& e) {
        *why = QString::fromStdString(e.description());
        return std::nullopt;
    }
}

bool TestSettingsRow::typedMargin(std::optional<double>* margin, QString* why) const {
    try {
        *margin = settings::readMargin(ui.txtLower->text().toStdString());
        return true;
    } catch (const settings::SettingsError& e) {
        *why = QString::fromStdString(e.description());
        return false;
    }
}

}  // namespace tarnwick
