// Diagnostics recorded from the window become a test: the tray entry records a real session of
// the program against the emulated mouse (a reconnect with its full write, then an Apply), the
// recording reads back, and played against a new emulated mouse it gets the same answers and
// leaves the mouse holding the same settings. A recording that does not match is caught.
#include "app/writecontroller.h"
#include "performance/kivreportrate.h"
#include "tracereplay.h"
#include "widgets/kivlabel.h"
#include "windowfixture.h"

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using namespace mc;
using namespace mc::test;
using A = EmulatedMouse::Attachment;

namespace {

QAction *trayEntry(MousecfgWidget &w, const QString &text)
{
    for (QAction *a : w.trayIcon()->contextMenu()->actions()) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}

} // namespace

class TestDiagnostics : public QObject
{
    Q_OBJECT

private slots:
    void recordedSessionReplaysAgainstTheEmulatedMouse()
    {
        WindowFixture fx(true);
        fx.configure(QStringLiteral("MouseSenSor/1"), 3325);
        fx.configure(QStringLiteral("Config/Diff"), 0);
        QString told;
        BoxAnswerer boxes([&](KivMessageBox *box) {
            told = box->findChild<QLabel *>(QStringLiteral("msgBoxInfoLabel2"))->text();
            box->accept();
        });
        QString file;
        {
            MousecfgWidget w;
            QAction *record = trayEntry(w, QStringLiteral("Record diagnostics..."));
            QVERIFY(record);
            record->trigger();
            QAction *stop = trayEntry(w, QStringLiteral("Stop recording diagnostics"));
            QVERIFY(stop && stop->isChecked());

            QSignalSpy written(w.writer(), &WriteController::writeFinished);
            fx.mouse().unplug(A::Receiver);
            fx.mouse().factoryReset();
            fx.mouse().plug(A::Receiver);
            QVERIFY(written.wait(10000)); // the full write of the reconnect
            for (QAction *a : w.ratePanel()->rateMenu()->actions()) {
                if (a->text() == QLatin1String("125 HZ"))
                    a->trigger();
            }
            QTest::mouseClick(w.applyButton(), Qt::LeftButton);
            QTRY_COMPARE(written.count(), 2);

            told.clear(); // the boxes of the re-plug are not the recording's
            stop->trigger();
            QVERIFY(!stop->isChecked());
            QCOMPARE(stop->text(), QStringLiteral("Record diagnostics..."));
            const QStringList found =
                QDir(fx.path()).entryList({QStringLiteral("diagnostics-*.txt")}, QDir::Files);
            QCOMPARE(found.size(), 1);
            file = fx.path() + QLatin1Char('/') + found.first();
            // A success is confirmed on the window's line, not in a warning box.
            const QString line = w.feedbackLine()->text();
            QVERIFY2(line.contains(QDir::toNativeSeparators(file)), qPrintable(line));
            QTest::qWait(50);
            QVERIFY2(told.isEmpty(), qPrintable(told));
        }

        const TraceFile trace = readTraceFile(file);
        QVERIFY2(trace.ok(), qPrintable(trace.error));
        QVERIFY(trace.lines.size() > 40);
        for (const TraceLine &l : trace.lines)
            QVERIFY(l.seconds >= 0);

        EmulatedMouse replayMouse;
        replayMouse.plug(A::Receiver);
        const ReplayResult result = replayTrace(trace, replayMouse);
        QVERIFY2(result.ok(), qPrintable(result.mismatches.join('\n')));
        QVERIFY(result.compared > 40);
        for (uint8_t block = 0x01; block <= 0x05; ++block)
            QCOMPARE(replayMouse.blockMemory(block), fx.mouse().blockMemory(block));
        QCOMPARE(replayMouse.activeSlot(), fx.mouse().activeSlot());
        QCOMPARE(uint8_t(replayMouse.blockMemory(0x01).at(11)), uint8_t(8)); // the Apply's 125 Hz

        // One recorded echo altered: the replay says where.
        TraceFile altered = trace;
        for (TraceLine &l : altered.lines) {
            if (l.direction == '<' && uint8_t(l.bytes.at(3)) == 0x02) {
                l.bytes[8] = char(l.bytes.at(8) ^ 0x01);
                break;
            }
        }
        EmulatedMouse second;
        second.plug(A::Receiver);
        const ReplayResult caught = replayTrace(altered, second);
        QCOMPARE(caught.mismatches.size(), 1);
        QVERIFY(caught.mismatches.first().startsWith(QStringLiteral("answer ")));
    }

    void damagedRecordingIsAnErrorNotACrash_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("no direction") << QByteArray("0.010 05 24 fa\n");
        QTest::newRow("not hex") << QByteArray("> 05 zz fa\n");
        QTest::newRow("no bytes") << QByteArray("1.5 <\n");
        QTest::newRow("negative time") << QByteArray("-1.0 > 05\n");
        QTest::newRow("too long") << QByteArray("> " + QByteArray("00 ").repeated(65) + "\n");
    }
    void damagedRecordingIsAnErrorNotACrash()
    {
        QFETCH(QByteArray, text);
        const TraceFile trace = parseTrace("# mousecfg diagnostics\n\n" + text);
        QVERIFY(!trace.ok());
        QVERIFY2(trace.error.startsWith(QStringLiteral("line 3")), qPrintable(trace.error));
        EmulatedMouse mouse;
        mouse.plug(A::Receiver);
        QVERIFY(!replayTrace(trace, mouse).ok());
    }
};

QTEST_MAIN(TestDiagnostics)
#include "test_diagnostics.moc"
