#include "test_settings_row.h"

#include <QSignalBlocker>

#include "setting_text.h"

namespace tarnwick {

TestSettingsRow::TestSettingsRow(QWidget* parent) : QWidget(parent) {
    ui.setupUi(this);
    for (QLineEdit* box : {ui.txtAlpha, ui.txtLower, ui.txtUpper})
        connect(box, &QLineEdit::textChanged, this, &TestSettingsRow::changed);
    for (QCheckBox* box : {ui.chkSdUnits, ui.chkWelch, ui.chkMinimalEffect})
        connect(box, &QCheckBox::toggled, this, &TestSettingsRow::changed);
    connect(ui.cmbScale, &QComboBox::currentIndexChanged, this, [this] {
        scaleChosen();
        emit changed();
    });
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
    ui.txtLower->setPlaceholderText(ratio ? QStringLiteral("0.80") : QString());
    ui.txtUpper->setPlaceholderText(ratio ? QStringLiteral("1.25") : QString());
    if (ratio) ui.chkSdUnits->setChecked(false);
    ui.chkSdUnits->setEnabled(!ratio);
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
    ui.chkMinimalEffect->setChecked(false);
    for (QWidget* choice : {static_cast<QWidget*>(ui.lblScale), static_cast<QWidget*>(ui.cmbScale),
                            static_cast<QWidget*>(ui.chkMinimalEffect)})
        choice->setVisible(false);
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
    ui.chkMinimalEffect->setChecked(minimalEffect);
}

std::optional<double> TestSettingsRow::typedAlpha(QString* why) const {
    try {
        const std::optional<double> alpha = settings::readAlpha(ui.txtAlpha->text().toStdString());
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

settings::Hypothesis TestSettingsRow::hypothesis() const {
    return ui.chkMinimalEffect->isChecked() ? settings::Hypothesis::minimalEffect
                                            : settings::Hypothesis::equivalence;
}

}  // namespace tarnwick
