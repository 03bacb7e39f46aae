// The settings row's scale: choosing Ratio as a user does (the combo box)
// swaps the bound boxes for the ratio's own (blank: 0.80 and 1.25, shown as
// placeholders), disables SD units, and each scale gets its texts back when
// chosen again; the window hears one change per choice, none from setScale.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>

#include "test_settings_row.h"

namespace tarnwick {
namespace {

using settings::Bounds;
using settings::Scale;

QComboBox& scaleBox(TestSettingsRow& row) { return *row.findChild<QComboBox*>("cmbScale"); }
QLineEdit& box(TestSettingsRow& row, const char* name) { return *row.findChild<QLineEdit*>(name); }

TEST(ScaleChoice, EachScaleKeepsItsOwnBounds) {
    TestSettingsRow row;
    row.setTexts("0.05", "-10", "10");
    row.setChoices(true, false, false);
    QSignalSpy changes(&row, &TestSettingsRow::changed);

    scaleBox(row).setCurrentIndex(1);
    EXPECT_EQ(row.scale(), Scale::ratio);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(row.lowerText(), "");
    EXPECT_EQ(box(row, "txtLower").placeholderText(), "0.80");
    EXPECT_EQ(box(row, "txtUpper").placeholderText(), "1.25");
    EXPECT_FALSE(row.sdUnits());
    QString why;
    EXPECT_EQ(row.typedBounds(&why), (Bounds{0.8, 1.25})) << why.toStdString();

    box(row, "txtLower").setText("0.9");
    const std::optional<Bounds> lone = row.typedBounds(&why);
    ASSERT_TRUE(lone);
    EXPECT_EQ(lone->upper, 1 / 0.9);
    box(row, "txtUpper").setText("0.5");
    EXPECT_FALSE(row.typedBounds(&why));
    EXPECT_NE(why.indexOf("lower bound must lie below"), -1) << why.toStdString();

    scaleBox(row).setCurrentIndex(0);
    EXPECT_EQ(row.lowerText(), "-10");
    EXPECT_EQ(row.upperText(), "10");
    EXPECT_EQ(box(row, "txtLower").placeholderText(), "");
    scaleBox(row).setCurrentIndex(1);
    EXPECT_EQ(row.lowerText(), "0.9");
    EXPECT_EQ(row.upperText(), "0.5");

    const int before = changes.count();
    row.setScale(Scale::difference, "-3", "3");
    EXPECT_EQ(changes.count(), before);
    EXPECT_EQ(row.scale(), Scale::difference);
    EXPECT_EQ(row.lowerText(), "-3");
}

}  // namespace
}  // namespace tarnwick
