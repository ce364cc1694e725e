// Device presence and status against the emulated mouse: plugging in and out, the battery
// display, changes made on the mouse, the order of stopping the poller and closing the handles,
// hot-plug held during a write, and the firmware button.
#include "app/devicelink.h"
#include "app/presence.h"
#include "device/devicetable.h"
#include "device/discovery.h"
#include "profile/profiledata.h"
#include "profile/profilefile.h"
#include "profile/settings.h"
#include "windowfixture.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <memory>

using namespace mc;
using namespace mc::test;
using A = EmulatedMouse::Attachment;

namespace {

// Passes every call on to the emulated mouse and notes a handle closed while a read of the
// poller is still under way.
class CloseWatch final : public HidBackend
{
public:
    explicit CloseWatch(HidBackend &inner) : m_inner(inner) {}
    int init() override { return m_inner.init(); }
    void exit() override { m_inner.exit(); }
    QVector<HidDeviceInfo> enumerate() override { return m_inner.enumerate(); }
    HidHandle open(const QByteArray &path) override { return m_inner.open(path); }
    void close(HidHandle h) override
    {
        ++closes;
        if (readsInFlight.load() > 0)
            ++closedUnderRead;
        m_inner.close(h);
    }
    int write(HidHandle h, const uint8_t *d, size_t n) override { return m_inner.write(h, d, n); }
    int readTimeout(HidHandle h, uint8_t *d, size_t n, int ms) override
    {
        ++readsInFlight;
        const int r = m_inner.readTimeout(h, d, n, ms);
        --readsInFlight;
        return r;
    }
    std::atomic<int> readsInFlight{0};
    int closes = 0;
    int closedUnderRead = 0;

private:
    HidBackend &m_inner;
};

// The store of five named slots; slot 1 has pointer speed 15 and its stage 1 at raw 16.
ProfileStore namedStore()
{
    ProfileStore s;
    for (int i = 0; i < kSlotCount; ++i) {
        s.names[size_t(i)] = QStringLiteral("Profile %1").arg(i + 1);
        s.profiles[size_t(i)].pollrate = 1;
        s.profiles[size_t(i)].mousespeed = 10;
    }
    s.profiles[1].mousespeed = 15;
    s.profiles[1].stages[1].x = s.profiles[1].stages[1].y = 16;
    return s;
}

} // namespace

class TestPresence : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<WindowFixture>(false);
        m_fixture->configure(QStringLiteral("MouseSenSor/1"), 3325);
        m_fixture->configure(QStringLiteral("Config/Diff"), 0);
        m_store = namedStore();
        m_presence = std::make_unique<DevicePresence>(&mouse(), m_store);
        m_presence->setPollTimings(quickPollTimings());
    }
    void cleanup()
    {
        m_presence.reset(); // stops the poller, closes the handles
        m_fixture.reset();
    }

    void newArrivalAsksForAFullWrite()
    {
        startWith({});
        QSignalSpy connected(m_presence.get(), &DevicePresence::mouseConnected);
        QSignalSpy gone(m_presence.get(), &DevicePresence::mouseGone);
        bool openWhenTold = false;
        connect(m_presence.get(), &DevicePresence::mouseConnected, this, [&] {
            openWhenTold =
                m_presence->connection().commandHandle() != nullptr && m_presence->pollerRunning();
        });
        mouse().plug(A::Receiver);
        QCOMPARE(readDiff(), 1);
        // Told once for the two collections, when the set-up has opened the mouse.
        QCOMPARE(connected.count(), 0);
        QVERIFY(connected.wait());
        QVERIFY(openWhenTold);
        // The cable of a mouse already there: opened at once, told at once.
        mouse().plug(A::Cable);
        QCOMPARE(connected.count(), 2);
        QVERIFY(openWhenTold);
        mouse().unplug(A::Cable);
        QCOMPARE(gone.count(), 0);
        mouse().unplug(A::Receiver);
        QCOMPARE(gone.count(), 1);
        QTest::qWait(50);
        QCOMPARE(connected.count(), 2);
    }

    void pluggingInSetsTheMouseUpAndClosesTheWarning_data()
    {
        QTest::addColumn<bool>("startedWithMouse");
        // Started without a mouse, the product name is empty: there was no mouse to name.
        QTest::newRow("started without a mouse") << false;
        QTest::newRow("after unplugging it") << true;
    }
    void pluggingInSetsTheMouseUpAndClosesTheWarning()
    {
        QFETCH(bool, startedWithMouse);
        if (startedWithMouse) {
            startWith({A::Receiver});
            QSignalSpy warning(m_presence.get(), &DevicePresence::warningRequested);
            mouse().unplug(A::Receiver);
            QVERIFY(warning.wait());
        } else {
            startWith({});
        }
        QSignalSpy closeBox(m_presence.get(), &DevicePresence::warningCloseRequested);
        QSignalSpy reload(m_presence.get(), &DevicePresence::reloadRequested);
        mouse().plug(A::Receiver);
        QVERIFY(closeBox.wait());
        QCOMPARE(reload.count(), 1);
        QVERIFY(m_presence->hasDevice());
        QVERIFY(m_presence->connection().commandHandle() != nullptr);
        QVERIFY(m_presence->pollerRunning());
        QCOMPARE(readCurrentProduct(), QStringLiteral("KIV M1"));
    }

    void unpluggingTheOnlyMouseWarnsAfterAPause()
    {
        startWith({A::Receiver});
        QSignalSpy warning(m_presence.get(), &DevicePresence::warningRequested);
        QElapsedTimer clock;
        clock.start();
        mouse().unplug(A::Receiver);
        QVERIFY(m_presence->connection().commandHandle() == nullptr);
        QVERIFY(!m_presence->hasDevice());
        QVERIFY(m_presence->warningOpen());
        QCOMPARE(warning.count(), 0);
        QVERIFY(warning.wait());
        QVERIFY2(clock.elapsed() >= 150, qPrintable(QString::number(clock.elapsed())));
    }

    void batteryLevel_data()
    {
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("percent");
        QTest::newRow("4125 mV") << 1000 << 90;
        QTest::newRow("full") << 1060 << 100;
        QTest::newRow("3201 mV") << 776 << 20;
        QTest::newRow("3196 mV") << 775 << 10;
    }
    void batteryLevel()
    {
        QFETCH(int, raw);
        QFETCH(int, percent);
        mouse().setBatteryRaw(uint16_t(raw));
        mouse().setWriteState(0); // the mouse lost a write: the next one sends everything
        startWith({A::Receiver});
        QSignalSpy shown(m_presence.get(), &DevicePresence::displayChanged);
        QVERIFY(shown.wait());
        const StatusDisplay d = m_presence->display();
        QCOMPARE(d.barValue, percent);
        QCOMPARE(d.barFormat, QStringLiteral("%p%"));
        QCOMPARE(d.connection.state, 2);
        QCOMPARE(readBattery(), percent);
        QTRY_COMPARE(readDiff(), 1);
    }

    void mouseOffGreysTheBarAndKeepsTheLevel()
    {
        mouse().setMouseOff(true);
        startWith({A::Receiver});
        QSignalSpy shown(m_presence.get(), &DevicePresence::displayChanged);
        QVERIFY(shown.wait());
        const StatusDisplay d = m_presence->display();
        QVERIFY(m_presence->mouseOff());
        QCOMPARE(d.barText, QStringLiteral("MOUSE OFF"));
        QCOMPARE(d.barFormat, QStringLiteral("MOUSE OFF"));
        QVERIFY(!d.barTextVisible);
        QVERIFY(d.barStyle.contains(QStringLiteral("rgb(100,100,100)")));
        QCOMPARE(d.barValue, 10); // the start-up level stays
    }

    void changeOnTheMouseIsFollowedOnce()
    {
        startWith({A::Receiver});
        QList<int> selected;
        QList<int> speeds;
        connect(m_presence.get(), &DevicePresence::slotSelectRequested, this, [&](int iSlot) {
            selected << iSlot;
            m_store.ProfileID = uint8_t(iSlot); // what the library's selection does
        });
        m_presence->setPointerSpeedSetter([&](int speed) { speeds << speed; });
        QSignalSpy announced(m_presence.get(), &DevicePresence::announce);
        QSignalSpy stage(m_presence.get(), &DevicePresence::stageSelected);
        QSignalSpy rate(m_presence.get(), &DevicePresence::rateShown);

        mouse().sendChangeReport(1, 1, 3, 0);
        QTRY_COMPARE(announced.count(), 2);
        QCOMPARE(announced.at(0).at(0).toString(), QStringLiteral("DPI 2:1600"));
        QCOMPARE(announced.at(1).at(0).toString(), QString());
        QCOMPARE(selected, QList<int>{1});
        QCOMPARE(speeds, QList<int>{15});
        QCOMPARE(m_store.profiles[1].dpi, uint8_t(1));
        QCOMPARE(stage.count(), 1);
        ProfileData onDisk;
        QVERIFY(LoadSlotFile(onDisk, QStringLiteral("Profile 2")));
        QCOMPARE(onDisk.dpi, uint8_t(1));
        QCOMPARE(m_store.profiles[1].pollrate, uint8_t(1)); // code 3 is no rate
        QCOMPARE(rate.count(), 0);

        // The same values again, then a new rate: only the rate is announced.
        mouse().sendChangeReport(1, 1, 3, 0);
        mouse().sendChangeReport(1, 1, 8, 0);
        QTRY_COMPARE(announced.count(), 3);
        QCOMPARE(announced.at(2).at(0).toString(), QStringLiteral("125 HZ"));
        QCOMPARE(m_store.profiles[1].pollrate, uint8_t(8));
        QCOMPARE(selected.size(), 1);
        QCOMPARE(stage.count(), 1);
    }

    void pollerEndsBeforeTheHandlesClose()
    {
        CloseWatch watch(mouse());
        m_presence = std::make_unique<DevicePresence>(&watch, m_store);
        PollTimings slow = quickPollTimings();
        slow.listenRead = 100; // a read is nearly always under way
        m_presence->setPollTimings(slow);
        startWith({A::Receiver});
        QTRY_VERIFY(watch.readsInFlight.load() > 0);
        // The notifications come while the mouse still answers, so reads keep running.
        const int vid = mouse().vendorId(A::Receiver);
        const int pid = mouse().productId(A::Receiver);
        m_presence->onInterfaceChanged(false, vid, pid, 1, QByteArray());
        m_presence->onInterfaceChanged(false, vid, pid, 4, QByteArray());
        QVERIFY(watch.closes > 0);
        QCOMPARE(watch.closedUnderRead, 0);
        m_presence.reset();
    }

    void unopenableMouseIsSaid()
    {
        mouse().setOpenDenied(true);
        QSignalSpy problem(m_presence.get(), &DevicePresence::deviceProblem);
        startWith({A::Receiver});
        QCOMPARE(problem.count(), 1);
        const QString text = problem.at(0).at(0).toString();
        QVERIFY2(text.contains("cannot be opened: Permission denied") &&
                     text.contains("70-mousecfg.rules"),
                 qPrintable(text));
        QVERIFY(m_presence->connection().commandHandle() == nullptr);
    }

    void deviceEventsWaitForTheWriteToEnd()
    {
        startWith({A::Receiver});
        QSignalSpy warning(m_presence.get(), &DevicePresence::warningRequested);
        m_presence->stop();                        // the write owns the device and the stores
        m_presence->slotRefreshStatus(0, 2, 1, 0); // a report still queued from the poller
        mouse().unplug(A::Receiver);
        QVERIFY(m_presence->connection().commandHandle() != nullptr);
        QVERIFY(m_presence->hasDevice());
        QCOMPARE(m_store.profiles[0].dpi, uint8_t(0));
        m_presence->start();
        QCOMPARE(m_store.profiles[0].dpi, uint8_t(2));
        QVERIFY(m_presence->connection().commandHandle() == nullptr);
        QVERIFY(warning.wait());
    }

    void firmwareButton_data()
    {
        QTest::addColumn<bool>("cable");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QList<int>>("askedKinds");
        QTest::addColumn<QString>("started");
        const QString updater = QStringLiteral("/skin/mouse/bin/K552-8871-20230727-en.exe");
        QTest::newRow("cable at start") << true << true << QList<int>{1} << updater;
        QTest::newRow("receiver only") << false << true << QList<int>{2} << QString();
        // Confirmed, but the updater is not there: a notice naming it, and the program stays.
        QTest::newRow("updater missing") << true << false << QList<int>{1, 2} << updater;
    }
    void firmwareButton()
    {
        QFETCH(bool, cable);
        QFETCH(bool, starts);
        QFETCH(QList<int>, askedKinds);
        QFETCH(QString, started);
        startWith({cable ? A::Cable : A::Receiver});
        QList<int> kinds;
        QStringList messages;
        QStringList programs;
        int exitCode = -1;
        bool pollerRanAtStart = true;
        FirmwareHooks hooks;
        hooks.ask = [&](int iKind, const QString &message) {
            kinds << iKind;
            messages << message;
            return true;
        };
        hooks.startDetached = [&](const QString &program) {
            programs << program;
            pollerRanAtStart = m_presence->pollerRunning();
            return starts;
        };
        hooks.exit = [&](int code) { exitCode = code; };
        m_presence->setFirmwareHooks(hooks);
        m_presence->onFirmwareRequested();
        QCOMPARE(kinds, askedKinds);
        if (started.isEmpty()) {
            QVERIFY(programs.isEmpty());
            QCOMPARE(exitCode, -1);
        } else if (starts) {
            QCOMPARE(programs, QStringList{m_fixture->path() + started});
            QVERIFY(!pollerRanAtStart);
            QCOMPARE(exitCode, 0);
        } else {
            QCOMPARE(exitCode, -1);
            QVERIFY(m_presence->pollerRunning());
            QVERIFY2(messages.last().contains(QStringLiteral("not installed")) &&
                         messages.last().contains(QDir::toNativeSeparators(
                             m_fixture->path() + started)),
                     qPrintable(messages.last()));
        }
    }

private:
    EmulatedMouse &mouse() { return m_fixture->mouse(); }

    // Plugs the attachments in, enumerates as the window does at start-up, begins, and from
    // then on follows the emulated mouse's hot-plug events.
    void startWith(std::initializer_list<A> attachments)
    {
        for (A a : attachments)
            mouse().plug(a);
        startDevices(m_presence->connection());
        m_presence->begin();
        connect(&mouse(), &EmulatedMouse::interfaceChanged, m_presence.get(),
                &DevicePresence::onInterfaceChanged);
    }

    std::unique_ptr<WindowFixture> m_fixture;
    ProfileStore m_store;
    std::unique_ptr<DevicePresence> m_presence;
};

QTEST_MAIN(TestPresence)
#include "test_presence.moc"
