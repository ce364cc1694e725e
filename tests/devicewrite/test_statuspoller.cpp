// The status poller against the emulated mouse: the three signals for status answers, all-zero
// answers, read errors and on-mouse change reports, the status byte it keeps, the query cadence,
// a silent mouse, no mouse, and stopping that waits until the loop has ended.
#include "device/batterythread.h"
#include "device/statuspoller.h"
#include "device/statusquery.h"
#include "writefixture.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace mc;
using namespace mc::test;
using A = EmulatedMouse::Attachment;
using C = EmulatedMouse::Collection;

namespace {

// Short pauses, so that many passes run in a test; reads wait long enough for the mouse.
PollTimings quick()
{
    PollTimings t;
    t.afterQuery = 1;
    t.queryRead = 200;
    t.afterQueryPass = 1;
    t.listenRead = 5;
    t.afterListen = 1;
    t.afterReadError = 1;
    return t;
}

// No pauses and no waiting: only the pass structure counts.
PollTimings instant()
{
    PollTimings t;
    t.afterQuery = t.queryRead = t.afterQueryPass = 0;
    t.listenRead = t.afterListen = t.afterReadError = 0;
    return t;
}

QList<int> args(const QSignalSpy &spy, int i)
{
    QList<int> out;
    for (const QVariant &v : spy.at(i))
        out << v.toInt();
    return out;
}

int countQueries(EmulatedMouse &mouse)
{
    int n = 0;
    for (const QByteArray &r : mouse.writtenReports())
        n += uint8_t(r.at(3)) == 0x48;
    return n;
}

// Passes every call on; a listening read can be held until the test lets it go, and the order
// of events is recorded.
class GateBackend final : public HidBackend
{
public:
    explicit GateBackend(HidBackend &inner) : m_inner(inner) {}
    int init() override { return m_inner.init(); }
    void exit() override { m_inner.exit(); }
    QVector<HidDeviceInfo> enumerate() override { return m_inner.enumerate(); }
    HidHandle open(const QByteArray &path) override { return m_inner.open(path); }
    void close(HidHandle h) override { m_inner.close(h); }
    int write(HidHandle h, const uint8_t *d, size_t n) override { return m_inner.write(h, d, n); }
    int readTimeout(HidHandle h, uint8_t *d, size_t n, int ms) override
    {
        if (m_holdNext.exchange(false)) {
            m_readHeld.release();
            m_gate.acquire();
            note("read returned");
        }
        return m_inner.readTimeout(h, d, n, ms);
    }
    void note(const QString &event)
    {
        QMutexLocker lock(&m_mutex);
        m_events << event;
    }
    QStringList events()
    {
        QMutexLocker lock(&m_mutex);
        return m_events;
    }
    std::atomic<bool> m_holdNext{false};
    QSemaphore m_readHeld;
    QSemaphore m_gate;

private:
    HidBackend &m_inner;
    QMutex m_mutex;
    QStringList m_events;
};

} // namespace

class TestStatusPoller : public QObject
{
    Q_OBJECT

private slots:
    // The messages checked below are debug messages, off unless asked for.
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
    }

    void init();

    void statusAnswer_data();
    void statusAnswer();
    void zeroAnswerGivesZerosAndNoWriteState();
    void readErrorAfterQueryGivesZeros();
    void changeReport();
    void changeReportReadInPlaceOfTheAnswerIsKept();
    void statusAnswerWhileListening();
    void silentMouseSignalsNothing();
    void noMouseEndsTheThread();
    void queryCadence();
    void otherCollectionsChangeNothing();
    void changeWhileThePointerFillsTheQueueIsShown();
    void stopWaitsForTheLoopToEnd();
    void restartFromAnotherThreadStartsOnTheOwnersThread();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStatusPoller::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeProductFiles(m_dir->path(), 3395, 6);
}

void TestStatusPoller::statusAnswer_data()
{
    QTest::addColumn<int>("battery");
    QTest::addColumn<bool>("charging");
    QTest::addColumn<int>("writeState");
    QTest::addColumn<int>("status");
    QTest::newRow("charging, written") << 1000 << true << 1 << 8;
    QTest::newRow("not charging, write pending") << 0x0424 << false << 0 << 3;
}

void TestStatusPoller::statusAnswer()
{
    QFETCH(int, battery);
    QFETCH(bool, charging);
    const int raw = battery;
    QFETCH(int, writeState);
    QFETCH(int, status);
    OpenMouse mouse;
    mouse->setBatteryRaw(uint16_t(raw));
    mouse->setCharging(charging);
    mouse->setWriteState(uint8_t(writeState));
    mouse->setStatusByte(uint8_t(status));

    StatusPoller poller(mouse.connection());
    poller.setTimings(quick());
    QSignalSpy batterySpy(&poller, &StatusPoller::RefreshBatteryStatus);
    QSignalSpy write(&poller, &StatusPoller::RefreshWriteStatus);
    poller.start();
    QVERIFY(write.wait(5000));
    poller.stop();
    QVERIFY(!poller.isRunning());
    QCOMPARE(args(batterySpy, 0), (QList<int>{charging ? 1 : 0, raw & 0xFF, raw >> 8}));
    QCOMPARE(args(write, 0), QList<int>{writeState});
    QCOMPARE(int(mouse.connection().statusByte()), status);
}

void TestStatusPoller::zeroAnswerGivesZerosAndNoWriteState()
{
    OpenMouse mouse;
    mouse->setMouseOff(true);
    mouse->setStatusByte(8);
    KivGetBatteryThread t(mouse.connection());
    t.setTimings(quick());
    QSignalSpy battery(&t, &KivGetBatteryThread::RefreshBatteryStatus);
    QSignalSpy write(&t, &KivGetBatteryThread::RefreshWriteStatus);
    t.start();
    QVERIFY(battery.wait(5000));
    QTRY_VERIFY(t.passes() >= 3);
    t.requestStop();
    QVERIFY(t.wait(5000));
    QCOMPARE(args(battery, 0), (QList<int>{0, 0, 0}));
    QCOMPARE(write.count(), 0);
    QCOMPARE(int(mouse.connection().statusByte()), 8); // the status byte is kept all the same
}

void TestStatusPoller::readErrorAfterQueryGivesZeros()
{
    OpenMouse mouse;
    mouse->unplug(A::Receiver); // the handles stay open but every read fails
    KivGetBatteryThread t(mouse.connection());
    t.setTimings(quick());
    QSignalSpy battery(&t, &KivGetBatteryThread::RefreshBatteryStatus);
    QSignalSpy write(&t, &KivGetBatteryThread::RefreshWriteStatus);
    QTest::ignoreMessage(QtDebugMsg, "Unable to send a feature report.");
    t.start();
    QVERIFY(battery.wait(5000));
    t.requestStop();
    QVERIFY(t.wait(5000));
    QCOMPARE(battery.count(), 1);
    QCOMPARE(args(battery, 0), (QList<int>{0, 0, 0}));
    QCOMPARE(write.count(), 0);
}

void TestStatusPoller::changeReport()
{
    OpenMouse mouse;
    StatusPoller poller(mouse.connection());
    poller.setTimings(quick());
    QSignalSpy status(&poller, &StatusPoller::RefreshStatus);
    QSignalSpy write(&poller, &StatusPoller::RefreshWriteStatus);
    poller.start();
    QVERIFY(write.wait(5000)); // the first pass's query has been answered
    mouse->sendChangeReport(2, 1, 1, 9);
    QVERIFY(status.wait(5000));
    poller.stop();
    QCOMPARE(status.count(), 1);
    QCOMPARE(args(status, 0), (QList<int>{2, 1, 1, 9}));
}

void TestStatusPoller::changeReportReadInPlaceOfTheAnswerIsKept()
{
    OpenMouse mouse;
    mouse->sendChangeReport(3, 2, 1, 0); // waiting when the first pass sends its query
    KivGetBatteryThread t(mouse.connection());
    t.setTimings(quick());
    QSignalSpy status(&t, &KivGetBatteryThread::RefreshStatus);
    QSignalSpy battery(&t, &KivGetBatteryThread::RefreshBatteryStatus);
    t.start();
    QVERIFY(battery.wait(5000)); // the answer, read by the listening read after the query
    t.requestStop();
    QVERIFY(t.wait(5000));
    QCOMPARE(status.count(), 1);
    QCOMPARE(args(status, 0), (QList<int>{3, 2, 1, 0}));
}

void TestStatusPoller::statusAnswerWhileListening()
{
    OpenMouse mouse;
    KivGetBatteryThread t(mouse.connection());
    t.setTimings(quick());
    QSignalSpy battery(&t, &KivGetBatteryThread::RefreshBatteryStatus);
    t.start();
    QVERIFY(battery.wait(5000));
    QByteArray answer(33, '\0');
    answer[0] = 5;
    answer[2] = char(0xFA);
    answer[3] = 0x48;
    answer[4] = 0x10;
    answer[5] = 0x04;
    answer[10] = 8;
    // The poller goes on querying, and the emulator's own answers carry another
    // status byte: read it on the poller's thread when our answer is signalled.
    int statusAtOurAnswer = -1;
    QObject::connect(&t, &KivGetBatteryThread::RefreshBatteryStatus, &t,
                     [&](int, int level, int) {
                         if (level == 0x10)
                             statusAtOurAnswer = mouse.connection().statusByte();
                     },
                     Qt::DirectConnection);
    mouse->queueInputReport(A::Receiver, answer);
    QVERIFY(battery.wait(5000));
    t.requestStop();
    t.wait();
    QCOMPARE(args(battery, 1), (QList<int>{0, 0x10, 0x04}));
    QCOMPARE(statusAtOurAnswer, 8);
}

void TestStatusPoller::silentMouseSignalsNothing()
{
    OpenMouse mouse;
    mouse->setSilent(true);
    KivGetBatteryThread t(mouse.connection());
    t.setTimings(instant());
    QSignalSpy battery(&t, &KivGetBatteryThread::RefreshBatteryStatus);
    QSignalSpy status(&t, &KivGetBatteryThread::RefreshStatus);
    QSignalSpy write(&t, &KivGetBatteryThread::RefreshWriteStatus);
    t.start();
    QTRY_VERIFY(t.passes() >= 120); // two query passes and many listening passes
    t.requestStop();
    QVERIFY(t.wait(5000));
    QCoreApplication::processEvents();
    QCOMPARE(battery.count() + status.count() + write.count(), 0);
    QVERIFY(countQueries(*mouse) >= 2);
}

void TestStatusPoller::noMouseEndsTheThread()
{
    OpenMouse mouse;
    CloseDevices(mouse.connection());
    KivGetBatteryThread t(mouse.connection());
    QSignalSpy battery(&t, &KivGetBatteryThread::RefreshBatteryStatus);
    t.start();
    QVERIFY(t.wait(5000)); // ends by itself, no stop needed
    QCOMPARE(battery.count(), 0);
    QCOMPARE(mouse->writeCount(), 0);
}

void TestStatusPoller::otherCollectionsChangeNothing()
{
    OpenMouse mouse;
    KivGetBatteryThread t(mouse.connection());
    t.setTimings(quick());
    QSignalSpy battery(&t, &KivGetBatteryThread::RefreshBatteryStatus);
    QSignalSpy status(&t, &KivGetBatteryThread::RefreshStatus);
    QSignalSpy write(&t, &KivGetBatteryThread::RefreshWriteStatus);
    t.start();
    QVERIFY(battery.wait(5000)); // the first query's answer
    // Insert (0x49) and Pause (0x48) in the first key byte, the pointer moving with those values
    // in byte 3, and the pointer's reports at 1000 Hz besides.
    mouse->setMotion(1000);
    mouse->sendKey(0x49);
    mouse->sendKey(0x48);
    for (const char *hex : {"0100004900000000", "0100004800000000", "010000490102030405"})
        mouse->queueCollectionReport(A::Receiver, C::Pointer, QByteArray::fromHex(hex));
    QTest::qWait(300);
    t.requestStop();
    QVERIFY(t.wait(5000));
    QCOMPARE(status.count(), 0);
    // Only the mouse's own answers: battery 1000 (e8 03), not charging, write state 1.
    for (int i = 0; i < battery.count(); ++i)
        QCOMPARE(args(battery, i), (QList<int>{0, 0xE8, 0x03}));
    QCOMPARE(write.count(), battery.count());
    for (int i = 0; i < write.count(); ++i)
        QCOMPARE(args(write, i), QList<int>{1});
    QCOMPARE(int(mouse.connection().statusByte()), 0);
}

void TestStatusPoller::changeWhileThePointerFillsTheQueueIsShown()
{
    OpenMouse mouse;
    KivGetBatteryThread t(mouse.connection()); // the protocol's pauses
    QSignalSpy battery(&t, &KivGetBatteryThread::RefreshBatteryStatus);
    QSignalSpy status(&t, &KivGetBatteryThread::RefreshStatus);
    mouse->setMotion(1000);
    t.start();
    QVERIFY(battery.wait(5000));
    for (int i = 0; i < 3; ++i) {
        // At any point of a pass: the queue fills in 63 ms while it waits.
        QTest::qWait(137 + 71 * i);
        mouse->sendChangeReport(uint8_t(i + 1), 0, 1, 0);
        QElapsedTimer shown;
        shown.start();
        QVERIFY(status.wait(1000));
        QVERIFY(shown.elapsed() < 1000);
        QCOMPARE(status.last().at(0).toInt(), i + 1);
    }
    t.requestStop();
    QVERIFY(t.wait(5000));
}

void TestStatusPoller::queryCadence()
{
    OpenMouse mouse;
    mouse->setSilent(true);
    KivGetBatteryThread t(mouse.connection());
    t.setTimings(instant());
    t.start();
    QTRY_VERIFY(t.passes() >= 200);
    t.requestStop();
    QVERIFY(t.wait(5000));
    const int passes = t.passes();
    // Queries in passes 1, 57, 113, ...: the first pass and then every 56th.
    QCOMPARE(countQueries(*mouse), 1 + (passes - 1) / 56);
}

void TestStatusPoller::stopWaitsForTheLoopToEnd()
{
    OpenMouse mouse;
    GateBackend gate(*mouse);
    MouseConnection gated(gate);
    InitDeviceTable(gated);
    EnumerateDevices(gated);
    OpenDeviceByName(gated, QByteArray(kWriteTestProduct));
    StatusPoller poller(gated);
    poller.setTimings(quick());
    QSignalSpy write(&poller, &StatusPoller::RefreshWriteStatus);
    poller.start();
    QVERIFY(write.wait(5000));

    gate.m_holdNext = true;
    QVERIFY(gate.m_readHeld.tryAcquire(1, 5000)); // the poller is inside a listening read
    std::thread stopper([&] {
        poller.stop();
        gate.note("stop returned");
    });
    QTest::qWait(50); // room for a stop that does not wait to return early
    gate.note("read released");
    gate.m_gate.release();
    stopper.join();

    QCOMPARE(gate.events(), (QStringList{"read released", "read returned", "stop returned"}));
    QVERIFY(!poller.isRunning());
}

void TestStatusPoller::restartFromAnotherThreadStartsOnTheOwnersThread()
{
    OpenMouse mouse;
    MouseConnection &c = mouse.connection();
    c.setPollTimings(quick());
    QSignalSpy battery(&c.poller(), &StatusPoller::RefreshBatteryStatus);
    c.startPoller();
    QVERIFY(battery.wait(5000));
    std::thread worker([&] { const MouseConnection::PollerPause pause(c); });
    worker.join();
    QVERIFY(!c.pollerRunning()); // the start waits for the owner's event loop
    {
        // A write that begins before the owner's loop ran keeps it stopped, nested or not.
        const MouseConnection::PollerPause outer(c);
        {
            const MouseConnection::PollerPause inner(c);
        }
        QTest::qWait(100);
        QVERIFY(!c.pollerRunning());
    }
    QVERIFY(c.pollerRunning());
    battery.clear();
    QVERIFY(battery.wait(5000));
    c.stopPoller();
    {
        const MouseConnection::PollerPause pause(c);
    }
    QVERIFY(!c.pollerRunning()); // stopped for good: a write does not bring it back
}

QTEST_GUILESS_MAIN(TestStatusPoller)
#include "test_statuspoller.moc"
