// Writing from the window against the emulated mouse, with the real busy indicator run
// offscreen: a mouse the status poller reported off gets nothing and the user hears it is
// asleep; an unchanged store with Config/Diff 0 sends nothing; a failed write asks the user to
// try again and marks Config/Diff; without a product description nothing is sent and the user
// reads which file is at fault; choosing a slot switches the mouse between stopping and
// restarting the poller, and only then hands the slot's pointer speed to the system.
#include "app/profilelibrary.h"
#include "app/writecontroller.h"
#include "device/mouseconnection.h"
#include "device/statuspoller.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include "../devicewrite/writefixture.h"

#include <QAtomicInt>
#include <QSignalSpy>
#include <QtTest>

using namespace mc;
using namespace mc::test;

namespace {} // namespace

class TestWriteController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mouseReportedOffGetsNothing();
    void nothingChangedSendsNothing();
    void failedWriteAsksToRetryAndMarksDiff();
    void withoutDescriptionTheUserIsToldWhy();
    void slotChoiceSwitchesMouseWhilePollerStopped();

private:
    ProfileStore loaded();
    void makeWriter(MouseConnection &connection);

    std::unique_ptr<QTemporaryDir> m_dir;
    ProfileStore m_working;
    ProfileStore m_written;
    std::unique_ptr<WriteController> m_writer;
    QList<QPair<int, QString>> m_told;
};

void TestWriteController::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeProductFiles(m_dir->path(), 3395, 6);
    m_told.clear();
    m_working = ProfileStore();
    m_written = ProfileStore();
}

void TestWriteController::makeWriter(MouseConnection &connection)
{
    m_writer = std::make_unique<WriteController>(connection, m_working, m_written);
    UserPrompts prompts;
    prompts.tell = [this](int iKind, const QString &text) { m_told.append({iKind, text}); };
    m_writer->setPrompts(prompts);
}

void TestWriteController::cleanup()
{
    m_writer.reset();
    setAppDir(QString());
}

ProfileStore TestWriteController::loaded()
{
    ProfileStore s;
    LoadStore(s);
    return s;
}

void TestWriteController::mouseReportedOffGetsNothing()
{
    OpenMouse mouse;
    makeWriter(mouse.connection());
    mouse->setMouseOff(true);
    writeDiff(1);
    m_working = m_written = loaded();
    {
        StatusPoller poller(mouse.connection());
        connect(&poller, &StatusPoller::RefreshBatteryStatus, m_writer.get(),
                &WriteController::slotRefreshBatteryStatus);
        QSignalSpy battery(&poller, &StatusPoller::RefreshBatteryStatus);
        poller.start();
        QVERIFY(battery.wait(3000));
    }
    mouse->clearLog();

    m_writer->write(true);
    QCOMPARE(m_told, (QList<QPair<int, QString>>{{1, "Mouse is sleeping or not connected."}}));
    QCOMPARE(int(m_writer->lastResult()), 5);
    QCOMPARE(mouse->writeCount(), 0);
    QCOMPARE(readDiff(), 1); // nothing was sent: still everything to write
}

void TestWriteController::nothingChangedSendsNothing()
{
    OpenMouse mouse;
    makeWriter(mouse.connection());
    writeDiff(0);
    m_working = m_written = loaded();
    QSignalSpy finished(m_writer.get(), &WriteController::writeFinished);
    m_writer->write(false);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    QVERIFY(m_told.isEmpty());
    QCOMPARE(mouse->writeCount(), 0);
    QVERIFY(!m_writer->isBusy());
}

void TestWriteController::failedWriteAsksToRetryAndMarksDiff()
{
    OpenMouse mouse;
    makeWriter(mouse.connection());
    writeDiff(0);
    m_working = m_written = loaded();
    m_working.Debounce = 12;
    mouse->setWriteFailure(true);
    m_writer->write(false);
    QCOMPARE(m_told, (QList<QPair<int, QString>>{{1, "Send data failed, please try again."}}));
    QCOMPARE(readDiff(), 1);
}

void TestWriteController::withoutDescriptionTheUserIsToldWhy()
{
    // Every button would reach the mouse "off": Apply and the write to a mouse that connects
    // send nothing and name the missing file.
    OpenMouse mouse;
    makeWriter(mouse.connection());
    m_working = m_written = loaded();
    QVERIFY(QFile::remove(productDescriptionFile()));
    m_writer->write(true);
    QCOMPARE(m_told.size(), 1);
    QVERIFY2(m_told[0].second.contains(QDir::toNativeSeparators(productDescriptionFile())),
             qPrintable(m_told[0].second));
    QSignalSpy background(m_writer.get(), &WriteController::backgroundWriteFinished);
    m_writer->writeInBackground();
    QCOMPARE(background.count(), 1);
    QCOMPARE(background[0][1].toString(), m_told[0].second);
    QCOMPARE(mouse->writeCount(), 0);
}

void TestWriteController::slotChoiceSwitchesMouseWhilePollerStopped()
{
    OpenMouse mouse;
    makeWriter(mouse.connection());
    m_working = m_written = loaded();
    m_working.profiles[3].mousespeed = 15;
    ProfileLibrary library(m_working);
    connect(&library, &ProfileLibrary::selectOnMouseRequested, m_writer.get(),
            &WriteController::selectProfile);
    int appliedSpeed = -1;
    int mouseSlotWhenApplied = -1;
    library.setPointerSpeedApplier([&](const ProfileStore &store) {
        appliedSpeed = store.current().mousespeed;
        mouseSlotWhenApplied = mouse->activeSlot();
    });
    // A poller that queries often: left running, it would query between the commands and read
    // their echoes away.
    MouseConnection &c = mouse.connection();
    c.setPollTimings({0, 5, 0, 1, 0, 0});
    c.startPoller();
    QTRY_VERIFY(!mouse->writtenReports().isEmpty());
    mouse->clearLog();

    library.chooseSlot(3);
    QCOMPARE(mouse->activeSlot(), 3);
    // Select and its commit, then the five commits of CommitSettings. A query the poller wrote
    // before the switch stopped it is no fault; one between the commands would be.
    QStringList wire = wireSummary(mouse->writtenReports());
    while (!wire.isEmpty() && wire.first().startsWith(QLatin1String("48")))
        wire.removeFirst();
    // Nor is one the restarted poller wrote once the switch was done.
    while (!wire.isEmpty() && wire.last().startsWith(QLatin1String("48")))
        wire.removeLast();
    QCOMPARE(wire,
             (QStringList{"44 03 00", "40 f3 01", "40 f3 04", "40 f3 01", "40 f3 02", "40 f3 08",
                          "40 f3 10"}));
    QTRY_VERIFY(c.pollerRunning()); // back once the switch is done
    c.stopPoller();
    QCOMPARE(appliedSpeed, 15);
    QCOMPARE(mouseSlotWhenApplied, 3);
    QCOMPARE(readActiveSlot(), 3);
}

QTEST_MAIN(TestWriteController)
#include "test_writecontroller.moc"
