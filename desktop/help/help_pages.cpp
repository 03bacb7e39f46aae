#include "help_pages.h"

// Outside any namespace: without it the linker may leave a static library's
// resources out of the program.
static void initialiseHelpResources() { Q_INIT_RESOURCE(help_pages); }

namespace tarnwick::help {
namespace {

constexpr Page pages[] = {Page::calculator, Page::report, Page::data, Page::scores, Page::plan};

QString fileName(Page page) {
    switch (page) {
        case Page::calculator:
            return QStringLiteral("calculator.html");
        case Page::report:
            return QStringLiteral("report.html");
        case Page::data:
            return QStringLiteral("data.html");
        case Page::scores:
            return QStringLiteral("scores.html");
        case Page::plan:
            return QStringLiteral("plan.html");
    }
    return {};
}

}  // namespace

std::span<const Page> allPages() { return pages; }

QString resourcePath(Page page) {
    static const bool loaded = [] {
        initialiseHelpResources();
        return true;
    }();
    Q_UNUSED(loaded);
    return QStringLiteral(":/help/") + fileName(page);
}

QUrl pageUrl(Page page, const QString& anchor) {
    QUrl url(QStringLiteral("qrc") + resourcePath(page));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    return url;
}

}  // namespace tarnwick::help
