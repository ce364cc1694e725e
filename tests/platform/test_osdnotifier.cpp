// The display program where a desktop has no layer shell (GNOME on Wayland): each message is a
// desktop notification, sent to a notification server of the test's own on a private session
// bus. The second message replaces the first (the server's ID of the first as replaces_id), the
// display time becomes the expiry, the notification is transient; the program never waits for
// the server. Without a server it falls back to its window.
#include "platform/osdmessage.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Notification
{
    QString app;
    uint replaces = 0;
    QString summary;
    QVariantMap hints;
    int timeout = 0;
};

class FakeNotifications final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<Notification> received;

public slots:
    uint Notify(const QString &app, uint replaces, const QString &, const QString &summary,
                const QString &, const QStringList &, const QVariantMap &hints, int timeout)
    {
        received.append({app, replaces, summary, hints, timeout});
        return replaces != 0 ? replaces : uint(40 + received.size());
    }
};

} // namespace

class TestOsdNotifier : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed (scripts/setup.sh installs dbus-bin)");
        m_bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                             QStringLiteral("--print-address=1")});
        QVERIFY(m_bus.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
    }

    void cleanupTestCase()
    {
        m_bus.terminate();
        m_bus.waitForFinished(5000);
    }

    void messagesBecomeNotificationsReplacingEachOther()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("fake"));
        QVERIFY(bus.isConnected());
        FakeNotifications server;
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));

        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("osd"));
        QProcess osd;
        startOsd(osd, name);
        QTRY_VERIFY_WITH_TIMEOUT(output(osd).contains(QLatin1String("ready")), 15000);
        send(name, {QStringLiteral("DPI 2:1600"), QStringLiteral("Mode 3")});
        QTRY_COMPARE_WITH_TIMEOUT(server.received.size(), 2, 10000);
        QCOMPARE(server.received[0].app, QStringLiteral("Mousecfg"));
        QCOMPARE(server.received[0].summary, QStringLiteral("DPI 2:1600"));
        QCOMPARE(server.received[0].replaces, 0u);
        QCOMPARE(server.received[0].timeout, mc::kOsdDisplayTimeMs);
        QCOMPARE(server.received[0].hints.value(QStringLiteral("transient")).toBool(), true);
        QCOMPARE(server.received[1].summary, QStringLiteral("Mode 3"));
        QCOMPARE(server.received[1].replaces, 41u);
        QTRY_VERIFY(output(osd).contains(QLatin1String("show 1500")));

        osd.terminate();
        QVERIFY(osd.waitForFinished(5000));
        bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
    }

    void withoutAServerTheWindowShowsThem()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("osd"));
        QProcess osd;
        startOsd(osd, name);
        QTRY_VERIFY_WITH_TIMEOUT(output(osd).contains(QLatin1String("ready")), 15000);
        send(name, {QStringLiteral("1000 HZ")});
        QTRY_VERIFY_WITH_TIMEOUT(
            output(osd).contains(QLatin1String("show 1500 #ff0000 60 Arial 1000 HZ")), 10000);
        osd.terminate();
        QVERIFY(osd.waitForFinished(5000));
    }

private:
    void startOsd(QProcess &osd, const QString &name)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        env.insert(QStringLiteral("MOUSECFG_OSD_ROUTE"), QStringLiteral("notification"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        osd.setProcessEnvironment(env);
        osd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        osd.start(QStringLiteral(MC_OSD_PATH),
                  {QStringLiteral("--print"), QStringLiteral("--server"), name});
        m_out.clear();
    }

    QString output(QProcess &osd)
    {
        m_out += osd.readAllStandardOutput();
        return QString::fromUtf8(m_out);
    }

    static void send(const QString &name, const QStringList &texts)
    {
        QLocalSocket socket;
        socket.connectToServer(name);
        QVERIFY(socket.waitForConnected(5000));
        for (const QString &t : texts)
            socket.write(mc::osdMessageBlock(t, Qt::red));
        QVERIFY(socket.waitForBytesWritten(5000));
        socket.disconnectFromServer();
    }

    QProcess m_bus;
    QString m_address;
    QByteArray m_out;
};

QTEST_GUILESS_MAIN(TestOsdNotifier)
#include "test_osdnotifier.moc"
