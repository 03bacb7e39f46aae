#pragma once
// A window's news for screen-reader users, told once it has stood a moment
// and only when it differs from what was said last: typing a number does not
// announce each of its digits, and an answer the same as before is not
// repeated. Polite, so that it waits for the reader to finish.

#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

namespace tarnwick {

class Announcer;

class SettledAnnouncer final : public QObject {
    Q_OBJECT

public:
    explicit SettledAnnouncer(QWidget& window, int settleMs = defaultSettleMs);

    // What the window would say now: announced once nothing newer has come
    // for the settling time.
    void propose(const QString& message);
    // Said already by other means (the window's description as it opens):
    // not announced unless something else is said in between.
    void takeAsSaid(const QString& message);
    // News overtaken before it was told (the settings changed again): not told.
    void withdraw();

    // How long news must stand before it is told.
    static constexpr int defaultSettleMs = 700;

private:
    void tell();

    Announcer* announcer_;
    QTimer settle_;
    QString pending_, said_;
};

}  // namespace tarnwick
