#include "colour_meaning.h"

#include <QLineEdit>
#include <QWidget>
#include <utility>

#include "box_names.h"

namespace tarnwick {

namespace {

enum class Kind { pValue, oneSidedTest, verdict };

constexpr std::pair<std::string_view, Kind> colouredBoxes[] = {
    {"TxtWelch2PT", Kind::pValue},
    {"TxtWelch1PT", Kind::pValue},
    {"txt2PT", Kind::pValue},
    {"txt1PT", Kind::pValue},
    {"TxtTUpper", Kind::oneSidedTest},
    {"TxtTLower", Kind::oneSidedTest},
    {"TxtMatchedTUpper", Kind::oneSidedTest},
    {"TxtMatchedTLower", Kind::oneSidedTest},
    {"TxtInterpretation", Kind::verdict},
    {"TxtMatchedInterpretation", Kind::verdict},
};

struct Words {
    Kind kind;
    Colour colour;
    const char* meaning;
};

constexpr Words meanings[] = {
    {Kind::pValue, colours::red, "below .05"},
    {Kind::pValue, colours::black, "not below .05"},
    {Kind::oneSidedTest, colours::blue, "one-sided test passes"},
    {Kind::oneSidedTest, colours::red, "one-sided test fails"},
    {Kind::verdict, colours::blue, "equivalent: both one-sided tests pass"},
    {Kind::verdict, colours::red, "not equivalent: a one-sided test fails"},
};

}  // namespace

QString colourMeaning(std::string_view box, Colour colour) {
    for (const auto& [name, kind] : colouredBoxes) {
        if (name != box) {
            continue;
        }
        for (const Words& words : meanings) {
            if (words.kind == kind && words.colour == colour) {
                return QString::fromLatin1(words.meaning);
            }
        }
    }
    return {};
}

void withdrawColourMeaningsOnNewText(QWidget& window) {
    for (const std::string_view name : names::resultBoxes) {
        auto* box = window.findChild<QLineEdit*>(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        Q_ASSERT(box != nullptr);
        QObject::connect(box, &QLineEdit::textChanged, box,
                         [box] { box->setAccessibleDescription(QString()); });
    }
}

}  // namespace tarnwick
