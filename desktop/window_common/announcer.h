#pragma once
// Tells screen-reader users something that happened away from the keyboard
// focus, such as the verdict of a run. It is a notification for the platform's
// accessibility bridge only: nothing is drawn and no control is added.

#include <QObject>
#include <QString>

class QWidget;

namespace tarnwick {

class Announcer final : public QObject {
    Q_OBJECT

public:
    explicit Announcer(QWidget& window);

    // A polite message waits for the screen reader to finish what it is
    // saying; an assertive one (a run's verdict) is raised as an alert too.
    enum class Politeness { assertive, polite };

    // An empty message announces nothing.
    void announce(const QString& message, Politeness politeness = Politeness::assertive);

    // The last message announced, and how.
    QString message() const { return message_; }
    Politeness politeness() const { return politeness_; }

signals:
    void announced(const QString& message);

private:
    QString message_;
    Politeness politeness_ = Politeness::assertive;
};

}  // namespace tarnwick
