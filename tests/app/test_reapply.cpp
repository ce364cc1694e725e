// A mouse that connects again, having forgotten its settings, is given what the window shows
// with no click: the whole write runs in the background once the mouse reads awake; turned off
// in the tray menu nothing is written; a mouse that reads "MOUSE OFF" waits until it wakes; a
// failed write keeps Config/Diff at 1 and is told once, not on every reconnect.
#include "app/presence.h"
#include "app/writecontroller.h"
#include "device/productswitches.h"
#include "device/reportframe.h"
#include "device/settingsblocks.h"
#include "profile/settings.h"
#include "windowfixture.h"

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace mc;
using namespace mc::test;
using A = EmulatedMouse::Attachment;

namespace {

template <typename Block> QByteArray bytes(const Block &block)
{
    return QByteArray(reinterpret_cast<const char *>(block.data()), int(block.size()));
}

// Reports written other than status queries: what a write sends.
int settingsReports(const EmulatedMouse &mouse)
{
    int n = 0;
    for (const QByteArray &r : mouse.writtenReports())
        n += uint8_t(r.at(frame::kCommand)) != frame::kStatus ? 1 : 0;
    return n;
}

QAction *reapplyEntry(MousecfgWidget &w)
{
    for (QAction *a : w.trayIcon()->contextMenu()->actions()) {
        if (a->text() == QLatin1String("Write settings when the mouse connects"))
            return a;
    }
    return nullptr;
}

} // namespace

class TestReapply : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_fixture = std::make_unique<WindowFixture>(true);
        m_fixture->configure(QStringLiteral("MouseSenSor/1"), 3325);
        m_fixture->configure(QStringLiteral("Config/Diff"), 0);
        m_window = std::make_unique<MousecfgWidget>();
        m_window->presence()->setPollTimings(quickPollTimings());
        m_boxes = std::make_unique<BoxAnswerer>([this](KivMessageBox *box) {
            const QString text =
                box->findChild<QLabel *>(QStringLiteral("msgBoxInfoLabel2"))->text();
            // The unplug's warning closes by itself when the mouse is back.
            if (text == QLatin1String("Dongle Disconnect!"))
                return;
            m_told << text;
            box->accept();
        });
        m_told.clear();
    }
    void cleanup()
    {
        m_boxes.reset();
        m_window.reset();
        m_fixture.reset();
    }

    void reconnectedMouseGetsTheWindowsSettingsWithoutAClick()
    {
        QSignalSpy done(m_window->writer(), &WriteController::backgroundWriteFinished);
        reconnectForgetful();
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().first().toInt(), 0);
        QCOMPARE(readDiff(), 0);
        const ProfileStore &s = m_window->workingStore();
        const ProductSwitches product = readProductSwitches(0);
        QCOMPARE(mouse().blockMemory(0x01), bytes(buildGeneralBlock(s, product.productSync)));
        QCOMPARE(mouse().blockMemory(0x02), bytes(buildDpiBlock(s, product)));
        QCOMPARE(mouse().blockMemory(0x04), bytes(buildLightingBlock(s)));
        QVERIFY(mouse().blockMemory(0x03) != QByteArray(kButtonBlockSize, '\0'));
        QVERIFY(m_told.isEmpty());
        QVERIFY(!QApplication::activeModalWidget()); // no busy indicator held the window
    }

    void turnedOffInTheTrayNothingIsWritten()
    {
        QAction *entry = reapplyEntry(*m_window);
        QVERIFY(entry && entry->isCheckable() && entry->isChecked());
        entry->trigger();
        QVERIFY(!readReapplyOnConnect());
        QCOMPARE(m_fixture->configured(QStringLiteral("Config/ReapplyOnConnect")).toInt(), 0);

        QSignalSpy battery(m_window->presence()->poller(), &StatusPoller::RefreshBatteryStatus);
        reconnectForgetful();
        QVERIFY(battery.wait(5000));
        QTest::qWait(300);
        QCOMPARE(settingsReports(mouse()), 0);
        QCOMPARE(readDiff(), 1); // still marked: the next Apply sends everything
        QCOMPARE(mouse().blockMemory(0x01), QByteArray(kGeneralBlockSize, '\0'));
    }

    void mouseOffWaitsUntilItWakes()
    {
        QSignalSpy done(m_window->writer(), &WriteController::backgroundWriteFinished);
        QSignalSpy battery(m_window->presence()->poller(), &StatusPoller::RefreshBatteryStatus);
        mouse().setMouseOff(true);
        reconnectForgetful();
        QTRY_VERIFY_WITH_TIMEOUT(!battery.isEmpty() && m_window->presence()->mouseOff(), 5000);
        QTest::qWait(300);
        QCOMPARE(settingsReports(mouse()), 0);
        QCOMPARE(done.count(), 0);

        mouse().setMouseOff(false); // the next status query finds it awake
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().first().toInt(), 0);
        QCOMPARE(
            mouse().blockMemory(0x01),
            bytes(buildGeneralBlock(m_window->workingStore(), readProductSwitches(0).productSync)));
    }

    void failureKeepsTheMarkAndIsToldOnce()
    {
        QSignalSpy done(m_window->writer(), &WriteController::backgroundWriteFinished);
        mouse().setWrongEchoData(-1); // every echo is wrong: nothing is taken
        reconnectForgetful();
        QVERIFY(done.wait(20000));
        QVERIFY(done.first().first().toInt() != 0);
        QCOMPARE(readDiff(), 1);
        QTRY_COMPARE(m_told.size(), 1);
        QVERIFY2(m_told.first().contains(QStringLiteral("could not be given your settings")),
                 qPrintable(m_told.first()));

        // Connected again and failing again: said already.
        reconnectForgetful();
        QVERIFY(done.wait(20000));
        QVERIFY(done.last().first().toInt() != 0);
        QTest::qWait(100);
        QCOMPARE(m_told.size(), 1);
        QCOMPARE(readDiff(), 1);
    }

private:
    EmulatedMouse &mouse() { return m_fixture->mouse(); }

    // The mouse is unplugged, loses what it held, and comes back.
    void reconnectForgetful()
    {
        mouse().unplug(A::Receiver);
        mouse().factoryReset();
        mouse().clearLog();
        mouse().plug(A::Receiver);
    }

    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<MousecfgWidget> m_window;
    std::unique_ptr<BoxAnswerer> m_boxes;
    QStringList m_told;
};

QTEST_MAIN(TestReapply)
#include "test_reapply.moc"
