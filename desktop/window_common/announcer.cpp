#include "announcer.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QWidget>

namespace tarnwick {

namespace {

// Screen readers speak a notification when it starts showing, and read its
// name as the text. Qt 6.4 has no announcement event of its own.
class AnnouncementInterface final : public QAccessibleObject {
public:
    explicit AnnouncementInterface(Announcer* announcer) : QAccessibleObject(announcer) {}

    QAccessible::Role role() const override { return QAccessible::Notification; }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? announcer().message() : QString();
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = announcer().message().isEmpty();
        return state;
    }

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(announcer().parent());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

private:
    const Announcer& announcer() const { return *static_cast<const Announcer*>(object()); }
};

QAccessibleInterface* announcementFactory(const QString&, QObject* object) {
    if (auto* announcer = qobject_cast<Announcer*>(object)) {
        return new AnnouncementInterface(announcer);
    }
    return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget& window) : QObject(&window) {
    static const bool installed = [] {
        QAccessible::installFactory(announcementFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void Announcer::announce(const QString& message, Politeness politeness) {
    if (message.isEmpty()) {
        return;
    }
    message_ = message;
    politeness_ = politeness;
    // The name first, so that whoever reacts to the showing reads the new text;
    // Alert for the bridges that pass alerts on, which interrupt the speech.
    for (const QAccessible::Event type :
         {QAccessible::NameChanged, QAccessible::ObjectShow, QAccessible::Alert}) {
        if (type == QAccessible::Alert && politeness == Politeness::polite) break;
        QAccessibleEvent event(this, type);
        QAccessible::updateAccessibility(&event);
    }
    emit announced(message);
}

}  // namespace tarnwick
