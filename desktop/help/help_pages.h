#pragma once
// The help's pages: one a window, each reached by its own URL in the
// program's resources, "qrc:/help/scores.html", and a section of it by an
// anchor, "qrc:/help/scores.html#rank".

#include <QString>
#include <QUrl>
#include <span>

namespace tarnwick::help {

enum class Page { calculator, report, data, scores, plan };

// Every page, in the order the pages list one another.
std::span<const Page> allPages();

// The page, or its section `anchor` (without "#") when one is given.
QUrl pageUrl(Page page, const QString& anchor = {});

// The page's file in the resources, ":/help/scores.html".
QString resourcePath(Page page);

}  // namespace tarnwick::help
