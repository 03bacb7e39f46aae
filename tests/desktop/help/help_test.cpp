// The help: every page is well-formed and every link in it, or in the scores
// report's methods line, leads to a page and a section that exist; F1 and
// the Help buttons open each window's own page, in a window that can be used
// beside a modal one and outlives it.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QXmlStreamReader>

#include "frmPlan.h"
#include "frmScores.h"
#include "help_window.h"
#include "method_links.h"
#include "ui_test_support.h"

namespace tarnwick {
namespace {

using help::Page;
using testing::box;
using testing::control;

QString pageText(Page page) {
    QFile file(help::resourcePath(page));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The ids of a page's sections, and every href it holds, read as XML.
struct PageParts {
    QString title;
    QStringList ids, links;
    QString error;
};

PageParts partsOf(const QString& html) {
    PageParts parts;
    QXmlStreamReader xml(html);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto attributes = xml.attributes();
        if (attributes.hasAttribute(QStringLiteral("id")))
            parts.ids << attributes.value(QStringLiteral("id")).toString();
        if (xml.name() == QLatin1String("a"))
            parts.links << attributes.value(QStringLiteral("href")).toString();
        if (xml.name() == QLatin1String("title")) parts.title = xml.readElementText();
    }
    if (xml.hasError())
        parts.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return parts;
}

// The anchors the browser can scroll to, as the rich-text engine read them.
QStringList anchorsShown(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    QStringList anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        anchors << block.charFormat().anchorNames();
        for (auto it = block.begin(); !it.atEnd(); ++it)
            anchors << it.fragment().charFormat().anchorNames();
    }
    return anchors;
}

// "scores", for the rows' names.
QByteArray pageName(Page page) {
    return help::resourcePath(page)
        .section(QLatin1Char('/'), -1)
        .section(QLatin1Char('.'), 0, 0)
        .toLatin1();
}

std::optional<Page> pageOfFile(const QString& file) {
    for (const Page page : help::allPages())
        if (help::resourcePath(page).endsWith(QLatin1Char('/') + file)) return page;
    return std::nullopt;
}

void fillRun(QWidget& window) {
    const std::pair<const char*, const char*> texts[] = {
        {"TxtMean1", "10"}, {"TxtSD1", "2"}, {"TxtN1", "10"},       {"TxtMean2", "9"},
        {"TxtSD2", "2"},    {"TxtN2", "10"}, {"TxtNotTrivial", "3"}};
    for (const auto& [name, text] : texts)
        box(window, name).setText(QString::fromLatin1(text));
    QTest::mouseClick(&control<QPushButton>(window, "cmdDoIt"), Qt::LeftButton);
}

ScoresInput someScores() {
    ScoresInput input;
    input.group1 = {1, 2, 3, 4, 5, 6, 7, 8};
    input.group2 = {2, 3, 4, 5, 6, 7, 8, 9};
    return input;
}

// A window just shown is active once the platform says so, which may come a
// moment after it shows; until then a key goes to the window before.
void makeActive(QWidget& window) {
    window.activateWindow();
    if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }))
        qWarning("the window did not become active");
}

// How a window asks for help.
enum class Asking { f1, button };

// What the help window shows after the user asked for help in `window`.
struct Shown {
    QUrl source;
    bool usable = false;  // visible, and not blocked by a modal window
    QString title;
};

Shown askFor(QWidget& window, Asking asking) {
    makeActive(window);
    if (asking == Asking::f1) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr && focus->window() == &window ? focus : &window,
                        Qt::Key_F1);
    } else {
        QTest::mouseClick(&control<QPushButton>(window, "cmdHelp"), Qt::LeftButton);
    }
    Shown shown;
    help::HelpWindow* help = help::helpWindow();
    if (help == nullptr) return shown;
    const QWidget* modal = QApplication::activeModalWidget();
    shown.source = help->browser().source();
    // A modal window leaves its own child windows usable, and no other.
    bool ownedByModal = modal == nullptr;
    for (const QWidget* owner = help; owner != nullptr && !ownedByModal;
         owner = owner->parentWidget())
        ownedByModal = owner == modal;
    shown.usable = help->isVisible() && ownedByModal;
    shown.title = help->windowTitle();
    help->close();
    return shown;
}

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::prepareApplication(); }

    void pagesParse_data() {
        QTest::addColumn<Page>("page");
        for (const Page page : help::allPages())
            QTest::newRow(pageName(page).constData()) << page;
    }
    // Well-formed, titled, and every section's id one the browser scrolls to.
    void pagesParse() {
        QFETCH(Page, page);
        const QString html = pageText(page);
        QVERIFY(!html.isEmpty());
        const PageParts parts = partsOf(html);
        QVERIFY2(parts.error.isEmpty(), qPrintable(parts.error));
        QVERIFY(!parts.title.isEmpty());
        QTextDocument document;
        document.setHtml(html);
        QCOMPARE(document.metaInformation(QTextDocument::DocumentTitle), parts.title);
        QVERIFY(parts.ids.contains(QStringLiteral("references")) || page == Page::data);
        const QStringList anchors = anchorsShown(html);
        for (const QString& id : parts.ids)
            QVERIFY2(anchors.contains(id), qPrintable(id));
    }

    void linksLeadSomewhere_data() {
        QTest::addColumn<Page>("from");
        QTest::addColumn<QString>("link");
        for (const Page page : help::allPages()) {
            for (const QString& link : partsOf(pageText(page)).links)
                QTest::addRow("%s: %s", pageName(page).constData(), qPrintable(link))
                    << page << link;
        }
        // The scores report's line of methods links into the scores page.
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        for (const auto& match : href.globalMatch(scores_window::methodLinks()))
            QTest::addRow("methods line: %s", qPrintable(match.captured(1)))
                << Page::scores << match.captured(1);
    }
    void linksLeadSomewhere() {
        QFETCH(Page, from);
        QFETCH(QString, link);
        const QUrl target = help::pageUrl(from).resolved(QUrl(link));
        QCOMPARE(target.scheme(), QStringLiteral("qrc"));
        const std::optional<Page> page = pageOfFile(target.fileName());
        QVERIFY2(page.has_value(), qPrintable(target.toString()));
        if (target.hasFragment())
            QVERIFY2(partsOf(pageText(*page)).ids.contains(target.fragment()),
                     qPrintable(target.toString()));
    }

    // Every analysis of the table has its own link, and each link its own section.
    void everyMethodLinked() {
        const QString line = scores_window::methodLinks();
        QCOMPARE(line.count(QStringLiteral("<a ")),
                 qsizetype(score_report::analysisTable().size()));
        for (const auto& entry : score_report::analysisTable())
            QVERIFY2(line.contains(QStringLiteral(">%1</a>").arg(
                         QString::fromUtf8(entry.title.data(), qsizetype(entry.title.size())))),
                     entry.title.data());
    }

    void eachWindowOpensItsPage_data() {
        QTest::addColumn<Page>("page");
        QTest::addColumn<Asking>("asking");
        for (const Page page : help::allPages()) {
            QTest::addRow("%s, F1", pageName(page).constData()) << page << Asking::f1;
            if (page != Page::calculator)
                QTest::addRow("%s, Help button", pageName(page).constData())
                    << page << Asking::button;
        }
    }
    void eachWindowOpensItsPage() {
        QFETCH(Page, page);
        QFETCH(Asking, asking);
        testing::Recorder recorder;
        auto calculator = testing::showWindow(recorder);
        Shown shown;
        bool opened = true;
        switch (page) {
            case Page::calculator:
                shown = askFor(*calculator, asking);
                break;
            case Page::report:
                fillRun(*calculator);
                opened = testing::whileModal(
                    [&] {
                        QTest::mouseClick(&control<QPushButton>(*calculator, "cmdReport"),
                                          Qt::LeftButton);
                    },
                    [&](QWidget& report) { shown = askFor(report, asking); });
                break;
            case Page::data:
                opened = testing::whileModal(
                    [&] {
                        QTest::mouseClick(&control<QPushButton>(*calculator, "cmdData"),
                                          Qt::LeftButton);
                    },
                    [&](QWidget& data) { shown = askFor(data, asking); });
                break;
            case Page::scores:
                opened = testing::whileModal(
                    [&] {
                        frmScores scores(someScores(), {}, calculator.get());
                        scores.exec();
                    },
                    [&](QWidget& scores) { shown = askFor(scores, asking); });
                break;
            case Page::plan: {
                QTest::mouseClick(&control<QPushButton>(*calculator, "cmdPlan"), Qt::LeftButton);
                auto* plan = calculator->findChild<frmPlan*>();
                QVERIFY(plan != nullptr);
                QVERIFY(QTest::qWaitForWindowActive(plan));
                shown = askFor(*plan, asking);
                break;
            }
        }
        QVERIFY(opened);
        QCOMPARE(shown.source, help::pageUrl(page));
        QVERIFY(shown.usable);
        QVERIFY2(shown.title.startsWith(QStringLiteral("Tarnwick - Help: ")),
                 qPrintable(shown.title));
    }

    void methodLinksOpenTheirSections_data() {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QString>("section");
        int tabs = 0;
        for (const auto& entry : score_report::analysisTable())
            QTest::addRow("%s", entry.name.data())
                << tabs++ << QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
    }
    // By keyboard: Tab into the line, on from link to link, Return follows one.
    void methodLinksOpenTheirSections() {
        QFETCH(int, tabs);
        QFETCH(QString, section);
        testing::Recorder recorder;
        auto calculator = testing::showWindow(recorder);
        QUrl shown;
        QVERIFY(testing::whileModal(
            [&] {
                frmScores scores(someScores(), {}, calculator.get());
                scores.exec();
            },
            [&](QWidget& scores) {
                auto& methods = control<QLabel>(scores, "lblMethods");
                makeActive(scores);
                control<QWidget>(scores, "txtReport").setFocus(Qt::TabFocusReason);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), &methods);
                // At the first link already: Tab goes on to the next.
                for (int i = 0; i < tabs; ++i)
                    QTest::keyClick(&methods, Qt::Key_Tab);
                QTest::keyClick(&methods, Qt::Key_Return);
                if (help::helpWindow() != nullptr) {
                    shown = help::helpWindow()->browser().source();
                    help::helpWindow()->close();
                }
            }));
        QCOMPARE(shown, help::pageUrl(Page::scores, section));
    }

    // One help window, reused; it stays open, the calculator's, when the
    // modal window it was opened over closes; Esc closes it.
    void oneWindowOutlivesTheModalOneAndEscCloses() {
        testing::Recorder recorder;
        auto calculator = testing::showWindow(recorder);
        fillRun(*calculator);
        QPointer<help::HelpWindow> first;
        QVERIFY(testing::whileModal(
            [&] {
                QTest::mouseClick(&control<QPushButton>(*calculator, "cmdReport"), Qt::LeftButton);
            },
            [&](QWidget& report) {
                QTest::mouseClick(&control<QPushButton>(report, "cmdHelp"), Qt::LeftButton);
                first = help::helpWindow();
            }));
        QVERIFY(first != nullptr);
        QVERIFY(first->isVisible());
        QCOMPARE(first->parentWidget(), calculator.get());
        makeActive(*calculator);
        QTest::keyClick(calculator->focusWidget(), Qt::Key_F1);
        QCOMPARE(help::helpWindow(), first.data());
        QCOMPARE(first->browser().source(), help::pageUrl(Page::calculator));
        makeActive(*first);
        QTest::keyClick(&first->browser(), Qt::Key_Escape);
        QVERIFY(!first->isVisible());
    }
};

}  // namespace
}  // namespace tarnwick

QTEST_MAIN(tarnwick::HelpTest)
#include "help_test.moc"
