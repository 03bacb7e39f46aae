// The settings row's hypothesis: the five questions in the combo box, the
// better direction enabled only for the one-sided ones, the lower box
// relabelled as the margin (blank: the default, its placeholder) and the
// upper one disabled; alpha at the calculator's .05 gives way to the
// one-sided .025 (blank, shown as its placeholder) and comes back with a
// two-sided question; every box and choice reached by Tab, in order.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <vector>

#include "test_settings_row.h"

namespace tarnwick {
namespace {

using settings::Better;
using settings::Hypothesis;

template <typename T>
T& part(TestSettingsRow& row, const char* name) {
    return *row.findChild<T*>(name);
}

TEST(OneSidedChoice, TheLowerBoxBecomesTheMarginAndAlphaTheOneSidedDefault) {
    TestSettingsRow row;
    row.setFilledBounds("-3", "3");
    row.setTexts("0.05", "-3", "3");
    QSignalSpy changes(&row, &TestSettingsRow::changed);
    auto& hypothesis = part<QComboBox>(row, "cmbHypothesis");
    auto& better = part<QComboBox>(row, "cmbBetter");
    ASSERT_EQ(hypothesis.count(), 5);
    EXPECT_FALSE(better.isEnabled());

    const struct {
        int index;
        Hypothesis hypothesis;
        int better;
        const char* placeholder;  // the default margin
    } rows[] = {
        {2, Hypothesis::nonInferiority, 0, "-3"}, {2, Hypothesis::nonInferiority, 1, "3"},
        {3, Hypothesis::nonSuperiority, 0, "3"},  {3, Hypothesis::nonSuperiority, 1, "-3"},
        {4, Hypothesis::superiority, 0, "0"},
    };
    for (const auto& r : rows) {
        hypothesis.setCurrentIndex(r.index);
        better.setCurrentIndex(r.better);
        SCOPED_TRACE(r.index * 10 + r.better);
        EXPECT_EQ(row.hypothesis(), r.hypothesis);
        EXPECT_EQ(row.better(), r.better == 1 ? Better::lower : Better::higher);
        EXPECT_TRUE(better.isEnabled());
        EXPECT_FALSE(part<QLineEdit>(row, "txtUpper").isEnabled());
        EXPECT_EQ(part<QLineEdit>(row, "txtLower").accessibleName(), "Margin");
        EXPECT_EQ(part<QLabel>(row, "lblLower").text(), "&Margin:");
        EXPECT_EQ(part<QLineEdit>(row, "txtLower").placeholderText(), r.placeholder);
        EXPECT_EQ(row.lowerText(), "") << "the filled -delta gives way to the default";
        EXPECT_EQ(row.alphaText(), "");
        EXPECT_EQ(part<QLineEdit>(row, "txtAlpha").placeholderText(), "0.025");
        QString why;
        EXPECT_EQ(row.typedAlpha(&why), 0.025);
        std::optional<double> margin = 1;
        EXPECT_TRUE(row.typedMargin(&margin, &why));
        EXPECT_FALSE(margin);
    }
    EXPECT_EQ(changes.count(), 3 + 4);  // one per choice that changed: 3 questions, 4 directions

    part<QLineEdit>(row, "txtLower").setText("x");
    std::optional<double> margin;
    QString why;
    EXPECT_FALSE(row.typedMargin(&margin, &why));
    EXPECT_TRUE(why.startsWith("The margin must be a number")) << why.toStdString();
    part<QLineEdit>(row, "txtLower").setText("0.5");
    EXPECT_TRUE(row.typedMargin(&margin, &why));
    EXPECT_EQ(margin, 0.5);

    // Ratio scale: the margins are ratios.
    part<QComboBox>(row, "cmbScale").setCurrentIndex(1);
    hypothesis.setCurrentIndex(2);
    better.setCurrentIndex(0);
    EXPECT_EQ(part<QLineEdit>(row, "txtLower").placeholderText(), "0.8");
    part<QComboBox>(row, "cmbScale").setCurrentIndex(0);

    // Back to a two-sided question: alpha and the bounds are the filled ones.
    part<QLineEdit>(row, "txtLower").clear();
    hypothesis.setCurrentIndex(1);
    EXPECT_EQ(row.hypothesis(), Hypothesis::minimalEffect);
    EXPECT_TRUE(row.minimalEffect());
    EXPECT_FALSE(better.isEnabled());
    EXPECT_TRUE(part<QLineEdit>(row, "txtUpper").isEnabled());
    EXPECT_EQ(part<QLineEdit>(row, "txtLower").accessibleName(), "Lower bound");
    EXPECT_EQ(row.alphaText(), "0.05");
    EXPECT_EQ(row.lowerText(), "-3");
    EXPECT_EQ(row.upperText(), "3");
    EXPECT_EQ(part<QLineEdit>(row, "txtAlpha").placeholderText(), "");
    // A two-sided question still asks for alpha in words.
    part<QLineEdit>(row, "txtAlpha").clear();
    EXPECT_FALSE(row.typedAlpha(&why));
}

TEST(OneSidedChoice, SetQuestionIsSilentAndTabReachesEveryChoice) {
    TestSettingsRow row;
    QSignalSpy changes(&row, &TestSettingsRow::changed);
    row.setQuestion(Hypothesis::nonSuperiority, Better::lower);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(row.hypothesis(), Hypothesis::nonSuperiority);
    EXPECT_EQ(row.better(), Better::lower);
    EXPECT_FALSE(part<QLineEdit>(row, "txtUpper").isEnabled());

    // Every choice takes keyboard focus, and each has a name a screen reader reads.
    std::vector<QWidget*> order;
    for (QWidget* w = row.findChild<QWidget*>("cmbScale"); w && order.size() < 10;
         w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus) order.push_back(w);
        if (w->objectName() == "cmbBetter") break;
    }
    std::vector<QString> names;
    for (QWidget* w : order) {
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        names.push_back(w->objectName());
    }
    EXPECT_EQ(names,
              (std::vector<QString>{"cmbScale", "txtAlpha", "txtLower", "txtUpper", "chkSdUnits",
                                    "chkWelch", "cmbHypothesis", "cmbBetter"}));
    for (const char* label : {"lblHypothesis", "lblBetter"})
        EXPECT_TRUE(part<QLabel>(row, label).text().contains('&')) << label;
}

}  // namespace
}  // namespace tarnwick
