// Announcements as desktop notifications.
#include "osd/osdnotifier.h"
#include "osd/log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {
const char kService[] = "org.freedesktop.Notifications";
const char kPath[] = "/org/freedesktop/Notifications";
} // namespace

OsdNotifier::OsdNotifier(QObject *parent) : QObject(parent)
{
    m_hideTimer.setSingleShot(true);
    connect(&m_hideTimer, &QTimer::timeout, this, &OsdNotifier::hidden);
}

bool OsdNotifier::serverPresent()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QString service = QLatin1String(kService);
    return bus.interface()->isServiceRegistered(service) ||
           bus.interface()->activatableServiceNames().value().contains(service);
}

void OsdNotifier::showMessage(const mc::OsdMessage &message)
{
    if (m_pending) {
        // The answer to the call that is out names the notification this one replaces.
        m_next = message;
        m_haveNext = true;
        return;
    }
    send(message);
}

void OsdNotifier::send(const mc::OsdMessage &message)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kService), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("transient"), true);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(0)));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("org.mousecfg.Mousecfg"));
    call.setArguments({QStringLiteral("Mousecfg"), m_lastId, QString(), message.text, QString(),
                       QStringList(), hints, message.displayTimeMs});
    m_pending = true;
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, message](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                m_pending = false;
                const QDBusPendingReply<uint> reply = *w;
                if (reply.isValid()) {
                    m_lastId = reply.value();
                    m_hideTimer.start(message.displayTimeMs);
                    emit shown(message);
                } else {
                    qCWarning(mc::lcOsd, "The notification could not be shown: %s",
                              qPrintable(reply.error().message()));
                }
                if (m_haveNext) {
                    m_haveNext = false;
                    send(m_next);
                }
            });
}
