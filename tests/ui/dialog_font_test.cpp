// The dialog font travels with the program: on a system without any fonts the
// captions are still set in Liberation Sans, in its real regular and bold faces.

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTest>

#include "look.h"

namespace {

// What the font configuration offered before the program added its own font.
QStringList systemFamilies;

}  // namespace

class DialogFontTest : public QObject {
    Q_OBJECT

private slots:
    void systemLacksTheFont() {
        QVERIFY2(!systemFamilies.contains(QStringLiteral("Liberation Sans")),
                 qPrintable(systemFamilies.join(u',')));
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
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
        // The face actually drawn with: a missing bold face would be faked
        // from the regular one and come out wider than the layout allows.
        const QRawFont drawn = QRawFont::fromFont(font);
        QCOMPARE(drawn.familyName(), QStringLiteral("Liberation Sans"));
        QCOMPARE(drawn.styleName(), face);
    }
};

int main(int argc, char* argv[]) {
    // Read by fontconfig when the application first asks for fonts.
    qputenv("FONTCONFIG_FILE", TARNWICK_NO_FONTS_CONFIG);
    QApplication app(argc, argv);
    systemFamilies = QFontDatabase::families();
    tarnwick::applyLook(app);
    DialogFontTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dialog_font_test.moc"
