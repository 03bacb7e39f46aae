#include "run_summary.h"

#include <QLineEdit>
#include <QStringList>
#include <QWidget>

namespace tarnwick {

namespace {

struct ResultFrame {
    const char* verdict;
    const char* tUpper;
};

constexpr ResultFrame resultFrames[] = {
    {"TxtInterpretation", "TxtTUpper"},
    {"TxtMatchedInterpretation", "TxtMatchedTUpper"},
};

const QLineEdit& boxNamed(const QWidget& window, const char* name) {
    const auto* box = window.findChild<const QLineEdit*>(QString::fromLatin1(name));
    Q_ASSERT(box != nullptr);
    return *box;
}

}  // namespace

QString runSummary(const QWidget& window) {
    QStringList said;
    for (const ResultFrame& frame : resultFrames) {
        const QLineEdit& verdict = boxNamed(window, frame.verdict);
        // Without a non-trivial difference there is no verdict, and the
        // t (upper) box asks for the missing value instead.
        const QString text =
            verdict.text().isEmpty() ? boxNamed(window, frame.tUpper).text() : verdict.text();
        if (!text.isEmpty()) {
            said << verdict.accessibleName() + QStringLiteral(": ") + text;
        }
    }
    return said.join(u' ');
}

}  // namespace tarnwick
