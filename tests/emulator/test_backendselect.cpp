// Choosing the HID backend from the command line and the environment.
#include "device/hidbackend.h"
#include "device/hidtrace.h"
#include "emulator/backendselect.h"
#include "emulator/emulatedmouse.h"

#include <QtTest>

using namespace mc;
using A = EmulatedMouse::Attachment;

class BackendSelectTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qunsetenv("MOUSECFG_EMULATE");
        installBackendFromArgs({});
    }

    void modes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("env");
        QTest::addColumn<bool>("emulated");
        QTest::addColumn<bool>("receiver");
        QTest::addColumn<bool>("cable");
        QTest::newRow("no option") << QStringList{"status"} << QString() << false << false << false;
        QTest::newRow("bare option")
            << QStringList{"--emulate", "status"} << QString() << true << true << false;
        QTest::newRow("cable") << QStringList{"--emulate=cable"} << QString() << true << false
                               << true;
        QTest::newRow("both") << QStringList{"--emulate=both"} << QString() << true << true << true;
        QTest::newRow("none") << QStringList{"--emulate=none"} << QString() << true << false
                              << false;
        QTest::newRow("from the environment") << QStringList{} << "cable" << true << false << true;
        QTest::newRow("option wins")
            << QStringList{"--emulate=both"} << "none" << true << true << true;
    }

    void modes()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, env);
        QFETCH(bool, emulated);
        QFETCH(bool, receiver);
        QFETCH(bool, cable);
        if (!env.isEmpty())
            qputenv("MOUSECFG_EMULATE", env.toUtf8());
        QString error;
        const QStringList rest = installBackendFromArgs(QStringList{"prog"} + args, &error);
        QVERIFY(error.isEmpty());
        QVERIFY(!rest.join(' ').contains("--emulate"));
        QCOMPARE(rest.first(), QStringLiteral("prog"));
        EmulatedMouse *mouse = installedEmulator();
        QCOMPARE(mouse != nullptr, emulated);
        QCOMPARE(&hidBackend() == mouse, emulated);
        if (mouse) {
            QCOMPARE(mouse->isPlugged(A::Receiver), receiver);
            QCOMPARE(mouse->isPlugged(A::Cable), cable);
        }
    }

    void offAndSilentMice_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QByteArray>("answerBytes"); // status answer bytes 3..6, empty: none
        QTest::newRow("receiver") << "receiver" << QByteArray::fromHex("48e80300");
        QTest::newRow("off") << "off" << QByteArray::fromHex("48000000");
        QTest::newRow("silent") << "silent" << QByteArray();
    }

    void offAndSilentMice()
    {
        QFETCH(QString, mode);
        QFETCH(QByteArray, answerBytes);
        installBackendFromArgs({"--emulate=" + mode});
        EmulatedMouse *mouse = installedEmulator();
        QVERIFY(mouse);
        HidHandle h =
            mouse->open(mouse->collectionPath(A::Receiver, EmulatedMouse::Collection::Command));
        QVERIFY(h);
        uint8_t query[33] = {0x05, 0x24, 0xFA, 0x48};
        QCOMPARE(mouse->write(h, query, 33), 33);
        uint8_t answer[33] = {};
        const int n = mouse->readTimeout(h, answer, 33, 100);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(answer + 3), n > 0 ? 4 : 0), answerBytes);
    }

    void unknownModeIsAnError()
    {
        QString error;
        const QStringList rest = installBackendFromArgs({"--emulate=wireless", "devices"}, &error);
        QVERIFY(error.contains("wireless"));
        QCOMPARE(rest, QStringList{"devices"});
        QVERIFY(!installedEmulator());
    }

    void diagnosticsRecordTimedTraceLines()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("diagnostics.txt");
        QString error;
        const QStringList rest =
            installBackendFromArgs({"prog", "--emulate", "--diagnostics=" + file}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(rest, QStringList{"prog"});
        EmulatedMouse *mouse = installedEmulator();
        QVERIFY(mouse);
        // The recording's tracer is the one the tray entry starts and stops.
        TracingBackend &tracer = diagnosticsTracer();
        QCOMPARE(&hidBackend(), static_cast<HidBackend *>(&tracer));
        QVERIFY(tracer.recording());
        HidHandle h = hidBackend().open(
            mouse->collectionPath(A::Receiver, EmulatedMouse::Collection::Command));
        uint8_t query[33] = {0x05, 0x24, 0xFA, 0x48};
        QCOMPARE(hidBackend().write(h, query, 33), 33);
        uint8_t answer[33] = {};
        QCOMPARE(hidBackend().readTimeout(h, answer, 33, 200), 33);
        hidBackend().close(h);
        tracer.stopRecording();
        QVERIFY(!tracer.recording());
        hidBackend().write(h, query, 33); // after the end: not recorded

        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 4); // header, written, read, and the empty end
        QVERIFY(lines[0].startsWith("# mousecfg diagnostics "));
        const QRegularExpression timed(QStringLiteral("^\\d+\\.\\d{3} ([<>]) 05 "));
        QVERIFY2(timed.match(QString::fromLatin1(lines[1])).hasMatch(), lines[1].constData());
        QVERIFY(lines[1].contains("> 05 24 fa 48 00"));
        QVERIFY2(timed.match(QString::fromLatin1(lines[2])).hasMatch(), lines[2].constData());
        QVERIFY(lines[2].contains("< 05 "));
    }

    void unwritableDiagnosticsFileIsAnError()
    {
        QString error;
        installBackendFromArgs({"prog", "--emulate", "--diagnostics=/nonexistent-dir/d.txt"},
                               &error);
        QVERIFY(error.contains("diagnostics"));
        QVERIFY(!installedEmulator());
    }

    void traceWrapsTheChosenBackend()
    {
        const QStringList rest = installBackendFromArgs({"--trace", "--emulate=cable", "status"});
        QCOMPARE(rest, QStringList{"status"});
        QVERIFY(installedEmulator());
        QVERIFY(dynamic_cast<TracingBackend *>(&hidBackend()));
        installBackendFromArgs({"--trace"});
        QVERIFY(!installedEmulator());
        QVERIFY(dynamic_cast<TracingBackend *>(&hidBackend()));
    }
};

QTEST_GUILESS_MAIN(BackendSelectTest)
#include "test_backendselect.moc"
