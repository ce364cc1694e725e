// Driving the emulated mouse of a running program from outside (plug, unplug, reset), and the trace
// written to a file: the two hooks the end-to-end scripts stand on.
#include "device/hidbackend.h"
#include "emulator/backendselect.h"
#include "emulator/emulatedmouse.h"

#include <QtTest>

using namespace mc;
using A = EmulatedMouse::Attachment;

class EmulatorControlTest : public QObject
{
    Q_OBJECT

private slots:
    void controlFileUnplugsAndPlugsAndTraceGoesToTheFile()
    {
        QTemporaryDir dir;
        const QString control = dir.filePath("control");
        const QString trace = dir.filePath("trace.txt");
        qputenv("MOUSECFG_EMULATOR_CONTROL", control.toUtf8());
        QString error;
        installBackendFromArgs({"prog", "--emulate", "--trace=" + trace}, &error);
        qunsetenv("MOUSECFG_EMULATOR_CONTROL");
        QVERIFY2(error.isEmpty(), qPrintable(error));
        EmulatedMouse *mouse = installedEmulator();
        QVERIFY(mouse && mouse->isPlugged(A::Receiver));

        QSignalSpy hotplug(mouse, &EmulatedMouse::interfaceChanged);
        auto send = [&](const QByteArray &commands) {
            QFile f(control);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(commands);
        };
        mouse->sendChangeReport(3, 0, 1, 0); // the active slot becomes 3
        send("bogus line\nunplug receiver\n");
        QTRY_VERIFY(!mouse->isPlugged(A::Receiver));
        QCOMPARE(hotplug.size(), 2); // pointer and command collection
        QCOMPARE(hotplug.first().at(0).toBool(), false);
        send("reset\nplug receiver\nplug cable\n");
        QTRY_VERIFY(mouse->isPlugged(A::Receiver) && mouse->isPlugged(A::Cable));
        QCOMPARE(mouse->activeSlot(), 0); // forgotten on "reset"

        const QByteArray path =
            mouse->collectionPath(A::Receiver, EmulatedMouse::Collection::Command);
        HidHandle h = hidBackend().open(path);
        QVERIFY(h);
        const uint8_t report[33] = {0x05};
        hidBackend().write(h, report, sizeof report);
        hidBackend().close(h);
        installBackendFromArgs({}); // closes the trace file
        QFile f(trace);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("> 05 00"));
    }

    void unwritableTraceFileIsAnError()
    {
        QString error;
        installBackendFromArgs({"prog", "--emulate", "--trace=/nonexistent-dir/trace"}, &error);
        QVERIFY(!error.isEmpty());
        installBackendFromArgs({});
    }
};

QTEST_GUILESS_MAIN(EmulatorControlTest)
#include "test_emulatorcontrol.moc"
