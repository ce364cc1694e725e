// The command transport against the emulated mouse (and, for the exact retry counters, against a
// scripted backend): checksum, which commands are verified and how, the retries and the result
// codes, and the trace format of the decorator.
#include "device/devicetable.h"
#include "device/discovery.h"
#include "device/hidtrace.h"
#include "device/mouseconnection.h"
#include "device/reportframe.h"
#include "device/transport.h"
#include "emulator/emulatedmouse.h"
#include "scriptedbackend.h"
#include "testproduct.h"

#include <QtTest>

#include <cstdio>
#include <memory>

using namespace mc;
using A = EmulatedMouse::Attachment;
using test::ScriptedBackend;

Q_DECLARE_METATYPE(QVector<mc::test::ScriptedBackend::Step>)

namespace {
frame::Report blockWrite(uint8_t command, uint16_t offset, uint8_t phase, QByteArray data)
{
    frame::Report r = frame::makeReport(command);
    r[frame::kOffsetLow] = uint8_t(offset & 0xFF);
    r[frame::kOffsetHigh] = uint8_t(offset >> 8);
    r[frame::kLength] = uint8_t(data.size());
    r[frame::kPhase] = phase;
    std::copy(data.begin(), data.end(), r.begin() + frame::kData);
    return r;
}

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}
} // namespace

class TransportTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<EmulatedMouse> m_mouse;
    std::unique_ptr<ScriptedBackend> m_scripted;
    std::unique_ptr<MouseConnection> m_conn;

    // Opens the write bracket and starts the block with its first packet, as a write does, so
    // that the mouse takes the packet under test; the log starts afterwards.
    void startBlock(uint8_t command)
    {
        const frame::Report bracket = frame::makeReport(frame::kWriteBracket, 0);
        QCOMPARE(int(SendCommand(conn(), bracket.data())), 0);
        const frame::Report first = blockWrite(command, 0, frame::kPhaseFirst, bytes({0}));
        QCOMPARE(int(SendCommand(conn(), first.data())), 0);
        m_mouse->clearLog();
    }

    MouseConnection &conn() { return *m_conn; }

    ScriptedBackend &useScripted(const QVector<ScriptedBackend::Step> &script)
    {
        m_conn.reset();
        m_scripted = std::make_unique<ScriptedBackend>();
        m_scripted->script = script;
        m_conn = std::make_unique<MouseConnection>(*m_scripted);
        conn().state().receiverCommand = m_scripted->open("scripted");
        return *m_scripted;
    }

private slots:
    void init()
    {
        test::writeTestProduct(m_dir);
        m_mouse = std::make_unique<EmulatedMouse>();
        m_mouse->plug(A::Receiver);
        m_conn = std::make_unique<MouseConnection>(*m_mouse);
        InitDeviceTable(conn());
        QCOMPARE(EnumerateDevices(conn()), 0);
        OpenDeviceByName(conn(), test::kTestProduct);
        QVERIFY(conn().commandHandle() != nullptr);
    }

    void cleanup()
    {
        m_conn.reset();
        m_scripted.reset();
        m_mouse.reset();
    }

    void checksumCoversHeaderBytesOnly_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("expected");
        QTest::newRow("status query") << bytes({5, 0, 0xFA, 0x48, 0, 0, 0, 0}) << 0x24;
        QTest::newRow("sum wraps") << bytes({5, 0, 0xFA, 0x40, 0xF3, 0x10, 0, 0})
                                   << (((0xFA + 0x40 + 0xF3 + 0x10) & 0xFF) ^ 0x66);
        QTest::newRow("length and phase count")
            << bytes({5, 0, 0xFA, 0x03, 0x1A, 0x00, 0x18, 0xD2})
            << (((0xFA + 0x03 + 0x1A + 0x18 + 0xD2) & 0xFF) ^ 0x66);
        QTest::newRow("report id and old checksum do not count")
            << bytes({0x77, 0x99, 0xFA, 0x48, 0, 0, 0, 0}) << 0x24;
    }

    void checksumCoversHeaderBytesOnly()
    {
        QFETCH(QByteArray, header);
        QFETCH(int, expected);
        frame::Report r{};
        std::copy(header.begin(), header.end(), r.begin());
        r[frame::kData] = 0x55; // data bytes are not part of the checksum
        QCOMPARE(int(Checksum(r.data())), expected);
    }

    void compareReply_data()
    {
        QTest::addColumn<int>("byteIndex");
        QTest::addColumn<bool>("dataFlag");
        QTest::addColumn<int>("expected");
        for (int i : {0, 2, 3, 4, 5, 6})
            QTest::addRow("header byte %d", i) << i << true << 1;
        QTest::newRow("checksum byte") << 1 << true << 0;
        QTest::newRow("phase byte") << 7 << true << 0;
        QTest::newRow("first data byte") << 8 << true << 2;
        QTest::newRow("last data byte") << 12 << true << 2;
        QTest::newRow("beyond the length") << 13 << true << 0;
        QTest::newRow("data without data flag") << 8 << false << 0;
    }

    void compareReply()
    {
        QFETCH(int, byteIndex);
        QFETCH(bool, dataFlag);
        QFETCH(int, expected);
        const frame::Report sent =
            blockWrite(0x01, 0x10, frame::kPhaseMore, bytes({1, 2, 3, 4, 5}));
        frame::Report reply = sent;
        reply[size_t(byteIndex)] ^= 0x5A;
        QCOMPARE(int(CompareReply(sent.data(), reply.data(), dataFlag)), expected);
    }

    void compareReplyKeepsAHostileLengthInsideTheReport()
    {
        frame::Report sent = blockWrite(0x01, 0, frame::kPhaseFirst, QByteArray(25, '\x11'));
        sent[frame::kLength] = 0xFF;
        frame::Report reply = sent;
        QCOMPARE(int(CompareReply(sent.data(), reply.data(), true)), 0);
        reply[32] ^= 1;
        QCOMPARE(int(CompareReply(sent.data(), reply.data(), true)), 2);
    }

    void fillsInTheChecksumWhateverTheCallerPutThere()
    {
        frame::Report r = frame::makeReport(frame::kStatus);
        r[frame::kChecksum] = 0x00;
        QCOMPARE(int(SendCommand(conn(), r.data(), kReportSize)), 0);
        const QVector<QByteArray> w = m_mouse->writtenReports();
        QCOMPARE(w.size(), 1);
        QCOMPARE(w[0].left(4), bytes({0x05, 0x24, 0xFA, 0x48}));
        QCOMPARE(m_mouse->refusedCount(), 0);
    }

    void unverifiedCommandsAreWrittenOnceAndNeverRead_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("select profile") << 0x44;
        QTest::newRow("status query") << 0x48;
        QTest::newRow("unknown command") << 0x20;
    }

    void unverifiedCommandsAreWrittenOnceAndNeverRead()
    {
        QFETCH(int, command);
        m_mouse->setSilent(true);
        const frame::Report r = frame::makeReport(uint8_t(command), 2);
        QCOMPARE(int(SendCommand(conn(), r.data(), kReportSize)), 0);
        QCOMPARE(m_mouse->writeCount(), 1);
        QCOMPARE(m_mouse->readCount(), 0);
    }

    void selectProfileReachesTheMouse()
    {
        const frame::Report r = frame::makeReport(frame::kSelectProfile, 3);
        QCOMPARE(int(SendCommand(conn(), r.data(), kReportSize)), 0);
        QCOMPARE(m_mouse->activeSlot(), 3);
    }

    void headerOnlyVerification_data()
    {
        QTest::addColumn<QByteArray>("report");
        frame::Report bracket = frame::makeReport(frame::kWriteBracket, 0);
        bracket[frame::kLength] = 3;
        bracket[frame::kData] = 0x42;
        QTest::newRow("write bracket carrying data")
            << QByteArray(reinterpret_cast<const char *>(bracket.data()), kReportSize);
        frame::Report commit = frame::makeReport(frame::kCommit, frame::kCommitMark);
        commit[frame::kOffsetHigh] = 0x01;
        QTest::newRow("commit") << QByteArray(reinterpret_cast<const char *>(commit.data()),
                                              kReportSize);
        const frame::Report empty = blockWrite(0x02, 6, frame::kPhaseMore, QByteArray());
        QTest::newRow("block write of length 0")
            << QByteArray(reinterpret_cast<const char *>(empty.data()), kReportSize);
    }

    void headerOnlyVerification()
    {
        QFETCH(QByteArray, report);
        startBlock(0x02);
        m_mouse->setWrongEchoData(-1);
        QCOMPARE(int(SendCommand(conn(), reinterpret_cast<const uint8_t *>(report.constData()))),
                 0);
        QCOMPARE(m_mouse->writeCount(), 1);
    }

    void echoDifferingOnlyInChecksumOrPhaseIsAccepted_data()
    {
        QTest::addColumn<int>("byteIndex");
        QTest::newRow("checksum") << int(frame::kChecksum);
        QTest::newRow("phase") << int(frame::kPhase);
        QTest::newRow("data beyond the length") << frame::kData + 3;
    }

    void echoDifferingOnlyInChecksumOrPhaseIsAccepted()
    {
        QFETCH(int, byteIndex);
        startBlock(0x04);
        m_mouse->corruptEchoes(byteIndex, 0x0F, -1);
        const frame::Report r = blockWrite(0x04, 0, frame::kPhaseFirst, bytes({0x80, 1, 2}));
        QCOMPARE(int(SendCommand(conn(), r.data())), 0);
        QCOMPARE(m_mouse->writeCount(), 1);
        QCOMPARE(m_mouse->pendingBlock(0x04).left(3), bytes({0x80, 1, 2}));
    }

    void dataMismatchIsRewrittenTwiceThenGivesUp_data()
    {
        QTest::addColumn<int>("wrongEchoes");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("writes");
        QTest::newRow("one wrong echo") << 1 << 0 << 2;
        QTest::newRow("two wrong echoes") << 2 << 0 << 3;
        QTest::newRow("three wrong echoes") << 3 << 2 << 3;
        QTest::newRow("always wrong") << -1 << 2 << 3;
    }

    void dataMismatchIsRewrittenTwiceThenGivesUp()
    {
        QFETCH(int, wrongEchoes);
        QFETCH(int, result);
        QFETCH(int, writes);
        startBlock(0x03);
        m_mouse->setWrongEchoData(wrongEchoes);
        const frame::Report r = blockWrite(0x03, 2, frame::kPhaseMore, bytes({1, 2, 3, 4}));
        QCOMPARE(int(SendCommand(conn(), r.data())), result);
        QCOMPARE(m_mouse->writeCount(), writes);
        const QVector<QByteArray> w = m_mouse->writtenReports();
        for (const QByteArray &report : w)
            QCOMPARE(report, w.first()); // a rewrite sends the same bytes again
    }

    void strayReportsAreReadAgainWithoutARewrite()
    {
        startBlock(0x01);
        // Reports the mouse sent on its own before the echo: each is a header mismatch.
        m_mouse->sendChangeReport(1, 2, 1, 0);
        m_mouse->sendChangeReport(1, 3, 1, 0);
        QByteArray oldEcho(kReportSize, '\0');
        oldEcho[0] = 5;
        oldEcho[2] = char(0xFA);
        oldEcho[3] = 0x01;
        oldEcho[4] = 0x13;
        m_mouse->queueInputReport(A::Receiver, oldEcho);
        const frame::Report r = blockWrite(0x01, 0, frame::kPhaseFirst, bytes({9, 8, 7}));
        QCOMPARE(int(SendCommand(conn(), r.data())), 0);
        QCOMPARE(m_mouse->writeCount(), 1);
        QCOMPARE(m_mouse->readCount(), 4);
    }

    void noCommandHandleGivesNoDeviceWithNothingWritten()
    {
        CloseDevices(conn());
        const frame::Report r = frame::makeReport(frame::kWriteBracket, 0);
        QCOMPARE(int(SendCommand(conn(), r.data())), int(kNoDevice));
        QCOMPARE(m_mouse->writeCount(), 0);
    }

    void writeFailureGivesFourWithoutRetry()
    {
        m_mouse->setWriteFailure(true);
        const frame::Report r = frame::makeReport(frame::kWriteBracket, 0);
        QCOMPARE(int(SendCommand(conn(), r.data())), int(kWriteFailed));
        QCOMPARE(m_mouse->writtenReports().size(), 0);
    }

    void unplugDuringAWriteSequenceFailsTheNextWrite()
    {
        m_mouse->setUnplugAfterWrites(2);
        const frame::Report r = frame::makeReport(frame::kWriteBracket, 0);
        QCOMPARE(int(SendCommand(conn(), r.data())), 0);
        QCOMPARE(int(SendCommand(conn(), r.data())), 0);
        QCOMPARE(int(SendCommand(conn(), r.data())), int(kWriteFailed));
        QVERIFY(!m_mouse->isPlugged(A::Receiver));
    }

    void silentOrZeroAnsweringMouseIsNoValidAnswer_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::newRow("never answers") << true;
        QTest::newRow("answers all zero") << false;
    }

    void silentOrZeroAnsweringMouseIsNoValidAnswer()
    {
        QFETCH(bool, silent);
        m_mouse->setSilent(silent);
        m_mouse->setZeroAnswers(!silent);
        const frame::Report r = frame::makeReport(frame::kWriteBracket, 1);
        QCOMPARE(int(SendCommand(conn(), r.data())), int(kNoAnswer));
        QCOMPARE(m_mouse->writeCount(), 6);
    }

    void commandsGoToTheCableWhenBothArePlugged()
    {
        m_mouse->plug(A::Cable);
        CloseDevices(conn());
        InitDeviceTable(conn());
        QCOMPARE(EnumerateDevices(conn()), 0);
        OpenDeviceByName(conn(), test::kTestProduct);
        QVERIFY(conn().state().receiverCommand && conn().state().cableCommand);
        m_mouse->setSilent(false);
        const frame::Report r = frame::makeReport(frame::kWriteBracket, 0);
        QCOMPARE(int(SendCommand(conn(), r.data())), 0);
        QVERIFY(m_mouse->writeBracketOpen());
        // Unplugging the cable alone leaves its handle dead: the write fails, nothing falls back.
        m_mouse->unplug(A::Cable);
        QCOMPARE(int(SendCommand(conn(), r.data())), int(kWriteFailed));
    }

    // Exact counters, with a backend whose reads return at once.
    void retryCounters_data()
    {
        using R = ScriptedBackend::Read;
        using Steps = QVector<ScriptedBackend::Step>;
        QTest::addColumn<Steps>("script");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("reads");
        QTest::newRow("echo at once") << Steps{{R::Echo}} << 0 << 1 << 1;
        QTest::newRow("five zero answers then echo")
            << Steps{{R::Zeros}, {R::Nothing}, {R::Zeros}, {R::Nothing}, {R::Zeros}, {R::Echo}} << 0
            << 6 << 6;
        QTest::newRow("six zero answers") << Steps{} << 2 << 6 << 6;
        // After a data mismatch the zero count starts again; its sixth zero answer acts on the
        // mismatch, which costs the second rewrite.
        QTest::newRow("mismatch, six zeros, echo")
            << Steps{{R::EchoCorrupt, 9}, {R::Zeros}, {R::Zeros}, {R::Zeros},
                     {R::Zeros},          {R::Zeros}, {R::Zeros}, {R::Echo}}
            << 0 << 8 << 8;
        QTest::newRow("mismatch, six zeros, mismatch")
            << Steps{{R::EchoCorrupt, 9}, {R::Zeros}, {R::Zeros}, {R::Zeros},
                     {R::Zeros},          {R::Zeros}, {R::Zeros}, {R::EchoCorrupt, 9}}
            << 2 << 8 << 8;
        QTest::newRow("header mismatch reads again")
            << Steps{{R::EchoCorrupt, 4}, {R::EchoCorrupt, 5}, {R::Echo}} << 0 << 1 << 3;
    }

    void retryCounters()
    {
        QFETCH(QVector<ScriptedBackend::Step>, script);
        QFETCH(int, result);
        QFETCH(int, writes);
        QFETCH(int, reads);
        ScriptedBackend &backend = useScripted(script);
        const frame::Report r =
            blockWrite(0x02, 1, frame::kPhaseMore, bytes({1, 0x20, 0, 0x20, 0}));
        QCOMPARE(int(SendCommand(conn(), r.data())), result);
        QCOMPARE(backend.written.size(), writes);
        QCOMPARE(backend.reads, reads);
    }

    void thirtiethReadFailureAndTwentiethHeaderMismatchCostARewrite()
    {
        using R = ScriptedBackend::Read;
        QVector<ScriptedBackend::Step> script(30, {R::Fail});
        script += QVector<ScriptedBackend::Step>(20, {R::EchoCorrupt, 3});
        script.append({R::Echo});
        ScriptedBackend &backend = useScripted(script);
        const frame::Report r = frame::makeReport(frame::kWriteBracket, 1);
        QCOMPARE(int(SendCommand(conn(), r.data())), 0);
        QCOMPARE(backend.written.size(), 3);
        QCOMPARE(backend.reads, 51);
    }

    void traceLinesShowEveryReportWrittenAndRead()
    {
        std::FILE *out = std::tmpfile();
        QVERIFY(out);
        TracingBackend tracer(*m_mouse, out);
        {
            MouseConnection traced(tracer);
            InitDeviceTable(traced);
            QCOMPARE(EnumerateDevices(traced), 0);
            OpenDeviceByName(traced, test::kTestProduct);
            const frame::Report r = frame::makeReport(frame::kWriteBracket, 1);
            QCOMPARE(int(SendCommand(traced, r.data())), 0);
        }
        std::rewind(out);
        char buffer[512] = {};
        QByteArray all;
        while (std::fgets(buffer, sizeof buffer, out))
            all += buffer;
        std::fclose(out);
        const QByteArray line = "05 27 fa 46 01" + QByteArray(" 00").repeated(28);
        QCOMPARE(all, "> " + line + "\n< " + line + "\n");
    }
};

QTEST_GUILESS_MAIN(TransportTest)
#include "test_transport.moc"
