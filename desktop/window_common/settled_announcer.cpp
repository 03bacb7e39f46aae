#include "settled_announcer.h"

#include <QWidget>

#include "announcer.h"

namespace tarnwick {

SettledAnnouncer::SettledAnnouncer(QWidget& window, int settleMs)
    : QObject(&window), announcer_(new Announcer(window)) {
    settle_.setSingleShot(true);
    settle_.setInterval(settleMs);
    connect(&settle_, &QTimer::timeout, this, &SettledAnnouncer::tell);
}

void SettledAnnouncer::propose(const QString& message) {
    pending_ = message;
    settle_.start();
}

void SettledAnnouncer::takeAsSaid(const QString& message) {
    settle_.stop();
    pending_ = said_ = message;
}

void SettledAnnouncer::withdraw() { settle_.stop(); }

void SettledAnnouncer::tell() {
    if (pending_ == said_) return;
    said_ = pending_;
    announcer_->announce(pending_, Announcer::Politeness::polite);
}

}  // namespace tarnwick
