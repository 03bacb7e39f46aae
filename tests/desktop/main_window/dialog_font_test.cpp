// The dialog font travels with the program: whatever fonts the system has or
// lacks, every caption is set in the carried Liberation Sans, in its real
// regular and bold faces.

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTest>

#include "look.h"

class DialogFontTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tarnwick::applyLook(*qApp); }

    // No system font is offered: any family a widget might name, the desktop
    // theme's included, is drawn in the carried font.
    void everyFamilyIsTheCarriedFont() {
        const QStringList families = QFontDatabase::families();
        QVERIFY(families.contains(QStringLiteral("Liberation Sans")));
        for (const QString& family : families) {
            QCOMPARE(QFontInfo(QFont(family)).family(), QStringLiteral("Liberation Sans"));
        }
    }

    void captionsUseTheCarriedFaces_data() {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("face");
        QTest::newRow("regular captions") << false << QStringLiteral("Regular");
        QTest::newRow("bold button and headings") << true << QStringLiteral("Bold");
    }

    void captionsUseTheCarriedFaces() {
        QFETCH(bool, bold);
        QFETCH(QString, face);
        QFont font = tarnwick::dialogFont();
        font.setBold(bold);
        // The face actually drawn with: a missing bold face would be faked
        // from the regular one and come out wider than the layout allows.
        const QRawFont drawn = QRawFont::fromFont(font);
        QCOMPARE(drawn.familyName(), QStringLiteral("Liberation Sans"));
        QCOMPARE(drawn.styleName(), face);
    }
};

QTEST_MAIN(DialogFontTest)
#include "dialog_font_test.moc"
