#pragma once
// The box scores are pasted into. A text box keeps every line as a block of
// its own, with its layout and an undo step: pasting 25 MB of scores (1.5
// million lines) froze the window for 15 to 22 s and took 1.4 GB before a
// single score was read, while reading them took 0.6 s. So a paste that
// would make the text longer than maxCharacters is refused whole, with the
// reason, and the box keeps what it held.

#include <QPlainTextEdit>
#include <functional>

namespace tarnwick::data_window {

class ScoresBox final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

    // About 60,000 rows of two six-digit scores: such a paste froze the
    // window for 0.75 to 1.1 s, nearly all of it the box's own work.
    static constexpr qsizetype maxCharacters = 1'000'000;

    // Called instead of pasting, with the length the text would have had.
    std::function<void(qsizetype characters)> refused;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};

// Why a text of this many characters does not go into the box, and what to
// use instead.
QString tooLongForTheBox(qsizetype characters);

}  // namespace tarnwick::data_window
