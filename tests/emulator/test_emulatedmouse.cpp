// The emulated mouse as a peer on the wire: what it lists, which reports it answers and how,
// the device memory with its block scheme and commit, hot-plug, honest timeouts and faults.
#include "device/reportframe.h"
#include "device/transport.h"
#include "emulator/emulatedmouse.h"
#include "profile/paths.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

using namespace mc;
using A = EmulatedMouse::Attachment;
using C = EmulatedMouse::Collection;

namespace {
QByteArray toBytes(const frame::Report &r)
{
    return QByteArray(reinterpret_cast<const char *>(r.data()), kReportSize);
}

frame::Report packet(uint8_t command, int offset, uint8_t phase, const QByteArray &data)
{
    frame::Report r = frame::makeReport(command);
    r[frame::kOffsetLow] = uint8_t(offset & 0xFF);
    r[frame::kOffsetHigh] = uint8_t(offset >> 8);
    r[frame::kLength] = uint8_t(data.size());
    r[frame::kPhase] = phase;
    std::copy(data.begin(), data.end(), r.begin() + frame::kData);
    r[frame::kChecksum] = Checksum(r.data());
    return r;
}

frame::Report closing(uint8_t command)
{
    return packet(command,
                  command == frame::kMacroBlock ? frame::kMacroCloseOffset : frame::kCloseOffset,
                  frame::kPhaseClose, QByteArray(1, char(frame::kCloseData)));
}

frame::Report commit(uint8_t selector)
{
    frame::Report r = frame::makeReport(frame::kCommit, frame::kCommitMark);
    r[frame::kOffsetHigh] = selector;
    r[frame::kChecksum] = Checksum(r.data());
    return r;
}

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + seed) & 0xFF);
    return b;
}
} // namespace

class EmulatedMouseTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<EmulatedMouse> m_mouse;
    HidHandle m_command = nullptr;

    // Writes the report and returns what comes back within 200 ms (empty for nothing).
    QByteArray exchange(const frame::Report &r, HidHandle handle = nullptr)
    {
        handle = handle ? handle : m_command;
        if (m_mouse->write(handle, r.data(), kReportSize) != kReportSize)
            return QByteArray("write failed");
        uint8_t buffer[64] = {};
        const int n = m_mouse->readTimeout(handle, buffer, kReportSize, 200);
        return QByteArray(reinterpret_cast<const char *>(buffer), qMax(0, n));
    }

    void bracket(uint8_t edge)
    {
        const frame::Report r = frame::makeReport(frame::kWriteBracket, edge);
        QCOMPARE(exchange(r), toBytes(r));
    }

    // Sends a whole block in packets of at most 24 bytes, then the closing packet.
    void writeBlock(uint8_t command, const QByteArray &data)
    {
        for (int offset = 0; offset < data.size(); offset += 24) {
            const frame::Report r =
                packet(command, offset, offset == 0 ? frame::kPhaseFirst : frame::kPhaseMore,
                       data.mid(offset, 24));
            QCOMPARE(exchange(r), toBytes(r));
        }
        QCOMPARE(exchange(closing(command)), toBytes(closing(command)));
    }

    // Opens the bracket and commits a general block naming the active slot and stage.
    QByteArray writeGeneralBlock(uint8_t slot, uint8_t stage)
    {
        QByteArray general(kGeneralBlockSize, '\0');
        general[6] = char(slot);
        general[17] = char(stage);
        bracket(0);
        writeBlock(0x01, general);
        exchange(commit(0x01));
        return general;
    }

private slots:
    void init()
    {
        setAppDir(m_dir.path());
        QDir(m_dir.path()).mkpath(QStringLiteral("Configs"));
        QSettings(productDescriptionFile(), QSettings::IniFormat)
            .setValue(QStringLiteral("PROFILE/pid1"), 0xFA99);
        QSettings(appSettingsFile(), QSettings::IniFormat)
            .setValue(QStringLiteral("Mouse_List/0"), QStringLiteral("Emu Mouse"));
        m_mouse = std::make_unique<EmulatedMouse>();
        m_mouse->plug(A::Receiver);
        m_command = m_mouse->open(m_mouse->collectionPath(A::Receiver, C::Command));
        QVERIFY(m_command);
    }

    void cleanup() { m_mouse.reset(); }

    void listsItsCollectionsWithTheProductsIds()
    {
        QCOMPARE(m_mouse->productName(), QByteArray("Emu Mouse"));
        const QVector<HidDeviceInfo> list = m_mouse->enumerate();
        QCOMPARE(list.size(), 4);
        int pointers = 0;
        int commands = 0;
        for (const HidDeviceInfo &d : list) {
            QCOMPARE(int(d.vendorId), 0x248A);
            QCOMPARE(int(d.productId), 0xFA99);
            pointers += (d.usagePage == 1 && d.usage == 2) ? 1 : 0;
            commands += (d.usagePage == 1 && d.usage == 0) ? 1 : 0;
        }
        QCOMPARE(pointers, 1);
        QCOMPARE(commands, 1);
        m_mouse->plug(A::Cable);
        QCOMPARE(m_mouse->enumerate().size(), 8);
        m_mouse->unplug(A::Receiver);
        QCOMPARE(m_mouse->enumerate().size(), 4);
        QCOMPARE(int(m_mouse->enumerate().first().productId), 0xFB01);
    }

    void echoesVerifiedCommandsOnly_data()
    {
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<bool>("echoed");
        QTest::newRow("commit") << toBytes(commit(0x01)) << true;
        QTest::newRow("commit without its F3")
            << toBytes(frame::makeReport(frame::kCommit, 0x01)) << false;
        QTest::newRow("write bracket")
            << toBytes(frame::makeReport(frame::kWriteBracket, 0)) << true;
        QTest::newRow("write bracket neither opened nor closed")
            << toBytes(frame::makeReport(frame::kWriteBracket, 2)) << false;
        QTest::newRow("select profile")
            << toBytes(frame::makeReport(frame::kSelectProfile, 2)) << false;
        QTest::newRow("unknown command") << toBytes(frame::makeReport(0x30)) << false;
        frame::Report badSum = frame::makeReport(frame::kWriteBracket, 0);
        badSum[frame::kChecksum] ^= 1;
        QTest::newRow("wrong checksum") << toBytes(badSum) << false;
        frame::Report badId = frame::makeReport(frame::kWriteBracket, 0);
        badId[frame::kReportId] = 4;
        QTest::newRow("wrong report id") << toBytes(badId) << false;
        frame::Report badMark = frame::makeReport(frame::kWriteBracket, 0);
        badMark[frame::kMark] = 0xFB;
        badMark[frame::kChecksum] = Checksum(badMark.data());
        QTest::newRow("wrong frame mark") << toBytes(badMark) << false;
    }

    void echoesVerifiedCommandsOnly()
    {
        QFETCH(QByteArray, report);
        QFETCH(bool, echoed);
        frame::Report r{};
        std::copy(report.begin(), report.end(), r.begin());
        QCOMPARE(exchange(r), echoed ? report : QByteArray());
    }

    void statusAnswer_data()
    {
        QTest::addColumn<bool>("off");
        QTest::addColumn<bool>("cable");
        QTest::addColumn<QByteArray>("expected"); // bytes 3..7, then byte 10
        QTest::newRow("on the receiver") << false << false << QByteArray::fromHex("48e803000708");
        QTest::newRow("on the cable") << false << true << QByteArray::fromHex("48e803010708");
        QTest::newRow("mouse off") << true << false << QByteArray::fromHex("480000000008");
    }

    void statusAnswer()
    {
        QFETCH(bool, off);
        QFETCH(bool, cable);
        QFETCH(QByteArray, expected);
        m_mouse->setBatteryRaw(1000);
        m_mouse->setWriteState(7);
        m_mouse->setStatusByte(8);
        m_mouse->setMouseOff(off);
        HidHandle h = m_command;
        if (cable) {
            m_mouse->plug(A::Cable);
            h = m_mouse->open(m_mouse->collectionPath(A::Cable, C::Command));
        }
        const QByteArray answer = exchange(frame::makeReport(frame::kStatus), h);
        QCOMPARE(answer.size(), kReportSize);
        QCOMPARE(answer.mid(3, 5) + answer.at(10), expected);
        QCOMPARE(uint8_t(answer[1]),
                 Checksum(reinterpret_cast<const uint8_t *>(answer.constData())));
    }

    void blockIsAppliedOnlyByItsCommit_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("selector");
        QTest::addColumn<int>("size");
        QTest::newRow("general") << 0x01 << 0x01 << kGeneralBlockSize;
        QTest::newRow("dpi") << 0x02 << 0x02 << kDpiBlockSize;
        QTest::newRow("buttons") << 0x03 << 0x04 << kButtonBlockSize;
        QTest::newRow("lighting") << 0x04 << 0x08 << kLightingBlockSize;
    }

    void blockIsAppliedOnlyByItsCommit()
    {
        QFETCH(int, command);
        QFETCH(int, selector);
        QFETCH(int, size);
        const QByteArray before = m_mouse->blockMemory(uint8_t(command));
        QCOMPARE(before.size(), size);
        const QByteArray data = pattern(size, command);
        bracket(0);
        writeBlock(uint8_t(command), data);
        QCOMPARE(m_mouse->pendingBlock(uint8_t(command)), data);
        QCOMPARE(m_mouse->blockMemory(uint8_t(command)), before);
        for (int other : {0x01, 0x02, 0x04, 0x08, 0x10, 0x20}) {
            if (other != selector)
                exchange(commit(uint8_t(other)));
        }
        QCOMPARE(m_mouse->blockMemory(uint8_t(command)), before);
        exchange(commit(uint8_t(selector)));
        QCOMPARE(m_mouse->blockMemory(uint8_t(command)), data);
        QVERIFY(m_mouse->pendingBlock(uint8_t(command)).isEmpty());
        QCOMPARE(m_mouse->commitCount(), 1);
    }

    void unclosedBlockIsNotApplied()
    {
        bracket(0);
        const frame::Report r = packet(0x04, 0, frame::kPhaseFirst, pattern(24, 3));
        exchange(r);
        exchange(commit(0x08));
        QCOMPARE(m_mouse->blockMemory(0x04), QByteArray(kLightingBlockSize, '\0'));
    }

    void partialPacketsKeepTheRestOfTheBlock()
    {
        bracket(0);
        writeBlock(0x03, pattern(kButtonBlockSize, 5));
        exchange(commit(0x04));
        // A later write that sends only the first two bytes (phase D1) changes only those.
        exchange(packet(0x03, 0, frame::kPhaseFirst, QByteArray::fromHex("0a00")));
        exchange(closing(0x03));
        exchange(commit(0x04));
        QByteArray expected = pattern(kButtonBlockSize, 5);
        expected[0] = 0x0A;
        expected[1] = 0x00;
        QCOMPARE(m_mouse->blockMemory(0x03), expected);
    }

    void generalBlockSetsTheActiveSlotAndStage()
    {
        QByteArray general = writeGeneralBlock(3, 5);
        QCOMPARE(m_mouse->activeSlot(), 3);
        QCOMPARE(m_mouse->activeStage(), 5);
        general[6] = 9; // out of range: the mouse keeps its slot
        general[17] = 200;
        writeBlock(0x01, general);
        exchange(commit(0x01));
        QCOMPARE(m_mouse->activeSlot(), 3);
        QCOMPARE(m_mouse->activeStage(), 5);
    }

    void factoryResetForgetsEverythingWritten()
    {
        writeGeneralBlock(3, 5);
        writeBlock(0x02, pattern(kDpiBlockSize, 1)); // closed, not yet committed
        m_mouse->factoryReset();
        QCOMPARE(m_mouse->blockMemory(0x01), QByteArray(kGeneralBlockSize, '\0'));
        QCOMPARE(m_mouse->activeSlot(), 0);
        QCOMPARE(m_mouse->activeStage(), 0);
        QVERIFY(!m_mouse->writeBracketOpen());
        // The write under way went with it: its commit applies nothing, and a packet needs a
        // bracket opened anew.
        exchange(commit(0x02));
        QCOMPARE(m_mouse->blockMemory(0x02), QByteArray(kDpiBlockSize, '\0'));
        QVERIFY(exchange(packet(0x02, 0, frame::kPhaseFirst, pattern(5, 2))).isEmpty());
    }

    void selectProfileIgnoresSlotsOutOfRange()
    {
        exchange(frame::makeReport(frame::kSelectProfile, 4));
        QCOMPARE(m_mouse->activeSlot(), 4);
        exchange(frame::makeReport(frame::kSelectProfile, 9));
        QCOMPARE(m_mouse->activeSlot(), 4);
    }

    void macroAreaIsAppliedByItsClosingPacket()
    {
        // Slots 0 and 3 in packets of 20: only slot 0's first packet is marked D1.
        const QByteArray first = pattern(200, 8);
        const QByteArray macro = pattern(200, 9);
        bracket(0);
        for (int j = 0; j < 10; ++j) {
            const frame::Report r =
                packet(0x05, 20 * j, j == 0 ? frame::kPhaseFirst : frame::kPhaseMore,
                       first.mid(20 * j, 20));
            QCOMPARE(exchange(r), toBytes(r));
        }
        for (int j = 0; j < 10; ++j) {
            const frame::Report r =
                packet(0x05, 600 + 20 * j, frame::kPhaseMore, macro.mid(20 * j, 20));
            QCOMPARE(exchange(r), toBytes(r));
        }
        QCOMPARE(m_mouse->macroArea(), QByteArray(kMacroAreaSize, '\0'));
        exchange(closing(0x05));
        QCOMPARE(m_mouse->macroArea().size(), kMacroAreaSize);
        QCOMPARE(m_mouse->macroArea().left(200), first);
        QCOMPARE(m_mouse->macroArea().mid(600, 200), macro);
        QCOMPARE(m_mouse->macroArea().mid(200, 400), QByteArray(400, '\0'));
    }

    // What a mouse does not take is neither answered nor kept: a block sent without its first
    // packet, blocks outside the write bracket, a block the bracket closed before its commit.
    void refusesWritesOutsideTheBlockScheme_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("selector");
        QTest::newRow("general") << 0x01 << 0x01;
        QTest::newRow("buttons") << 0x03 << 0x04;
        QTest::newRow("macros") << 0x05 << 0x10;
    }

    void refusesWritesOutsideTheBlockScheme()
    {
        QFETCH(int, command);
        QFETCH(int, selector);
        const uint8_t c = uint8_t(command);
        const QByteArray data = pattern(16, command);
        const frame::Report first = packet(c, 0, frame::kPhaseFirst, data);
        const frame::Report more = packet(c, 16, frame::kPhaseMore, data.left(2));
        const QByteArray empty(EmulatedMouse::blockSize(c), '\0');

        // No bracket: nothing is taken.
        QCOMPARE(exchange(first), QByteArray());
        QCOMPARE(exchange(closing(c)), QByteArray());
        exchange(commit(uint8_t(selector)));
        QCOMPARE(m_mouse->refusedCount(), 2);
        QCOMPARE(m_mouse->blockMemory(c), empty);

        // In the bracket, but without the first packet.
        bracket(0);
        QCOMPARE(exchange(more), QByteArray());
        QCOMPARE(exchange(closing(c)), QByteArray());
        exchange(commit(uint8_t(selector)));
        QCOMPARE(m_mouse->refusedCount(), 4);
        QCOMPARE(m_mouse->blockMemory(c), empty);

        // A first packet anywhere but at offset 0.
        QCOMPARE(exchange(packet(c, 2, frame::kPhaseFirst, data.left(2))), QByteArray());
        QVERIFY(m_mouse->pendingBlock(c).isEmpty());

        // A closed block that the bracket ends before any commit is gone with it; the macro
        // block, applied by its closing packet, is not.
        QCOMPARE(exchange(first), toBytes(first));
        QCOMPARE(exchange(closing(c)), toBytes(closing(c)));
        bracket(1);
        QVERIFY(m_mouse->pendingBlock(c).isEmpty());
        exchange(commit(uint8_t(selector)));
        QCOMPARE(m_mouse->blockMemory(c).left(16), c == frame::kMacroBlock ? data : empty.left(16));
        // Outside the bracket again, a further packet is refused even after a first one.
        QCOMPARE(exchange(more), QByteArray());
    }

    // A rewrite sends a packet again: a repeated first or closing packet is taken again.
    void rewrittenPacketsAreTakenAgain()
    {
        const frame::Report first = packet(0x04, 0, frame::kPhaseFirst, pattern(24, 1));
        bracket(0);
        QCOMPARE(exchange(first), toBytes(first));
        QCOMPARE(exchange(first), toBytes(first));
        QCOMPARE(exchange(closing(0x04)), toBytes(closing(0x04)));
        QCOMPARE(exchange(closing(0x04)), toBytes(closing(0x04)));
        exchange(commit(0x08));
        QCOMPARE(m_mouse->blockMemory(0x04).left(24), pattern(24, 1));
        QCOMPARE(m_mouse->refusedCount(), 0);
    }

    void refusesPacketsThatDoNotFit_data()
    {
        QTest::addColumn<QByteArray>("report");
        QTest::newRow("beyond the block")
            << toBytes(packet(0x01, 10, frame::kPhaseMore, pattern(10, 1)));
        QTest::newRow("beyond the macro area")
            << toBytes(packet(0x05, 3990, frame::kPhaseMore, pattern(20, 1)));
        QTest::newRow("first packet beyond the block")
            << toBytes(packet(0x01, 0, frame::kPhaseFirst, pattern(20, 1)));
        frame::Report tooLong = packet(0x02, 0, frame::kPhaseFirst, pattern(25, 1));
        tooLong[frame::kLength] = 200;
        tooLong[frame::kChecksum] = Checksum(tooLong.data());
        QTest::newRow("length above 25") << toBytes(tooLong);
        QTest::newRow("unknown phase") << toBytes(packet(0x02, 0, 0xD7, pattern(3, 1)));
        QTest::newRow("closing at the macro offset")
            << toBytes(packet(0x01, 0x0FFF, frame::kPhaseClose, QByteArray(1, 0x1A)));
        QTest::newRow("closing with other data")
            << toBytes(packet(0x01, 0x7F, frame::kPhaseClose, QByteArray(1, 0x1B)));
        QTest::newRow("block command 6")
            << toBytes(packet(0x06, 0, frame::kPhaseFirst, pattern(3, 1)));
    }

    void refusesPacketsThatDoNotFit()
    {
        QFETCH(QByteArray, report);
        frame::Report r{};
        std::copy(report.begin(), report.end(), r.begin());
        // Every block is being written, so only the packet itself can be at fault.
        bracket(0);
        for (uint8_t c = 1; c <= 5; ++c)
            exchange(packet(c, 0, frame::kPhaseFirst, QByteArray(1, char(c))));
        QCOMPARE(exchange(r), QByteArray());
        QCOMPARE(m_mouse->refusedCount(), 1);
        for (uint8_t c = 1; c <= 5; ++c) {
            QByteArray expected(EmulatedMouse::blockSize(c), '\0');
            expected[0] = char(c);
            QCOMPARE(m_mouse->pendingBlock(c), expected);
        }
    }

    void everyCommandHandleGetsItsOwnCopy()
    {
        // Windows: a handle per collection; the pointer's receives no command reports.
        m_mouse->setNodeLayout(EmulatedMouse::NodeLayout::PerCollection);
        HidHandle command = m_mouse->open(m_mouse->collectionPath(A::Receiver, C::Command));
        HidHandle second = m_mouse->open(m_mouse->collectionPath(A::Receiver, C::Command));
        HidHandle pointer = m_mouse->open(m_mouse->collectionPath(A::Receiver, C::Pointer));
        m_mouse->sendChangeReport(2, 1, 4, 0);
        uint8_t a[33] = {};
        uint8_t b[33] = {};
        QCOMPARE(m_mouse->readTimeout(command, a, 33, 200), 33);
        QCOMPARE(m_mouse->readTimeout(second, b, 33, 200), 33);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(a), 33),
                 QByteArray(reinterpret_cast<char *>(b), 33));
        QCOMPARE(QByteArray(reinterpret_cast<char *>(a + 3), 5), QByteArray::fromHex("4902010400"));
        QCOMPARE(m_mouse->readTimeout(pointer, a, 33, 0), 0);
        QCOMPARE(m_mouse->write(pointer, a, 33), -1); // the pointer collection takes no reports
        QCOMPARE(m_mouse->activeSlot(), 2);
    }

    void linuxNodeGivesEveryHandleEveryReport()
    {
        m_mouse->setNodeLayout(EmulatedMouse::NodeLayout::PerInterface);
        m_mouse->setPathStyle(EmulatedMouse::PathStyle::Linux);
        const QByteArray node = m_mouse->collectionPath(A::Receiver, C::Pointer);
        QCOMPARE(m_mouse->collectionPath(A::Receiver, C::Command), node);
        HidHandle one = m_mouse->open(node);
        HidHandle two = m_mouse->open(node);
        m_mouse->sendKey(0x49);
        m_mouse->sendChangeReport(2, 1, 4, 0);
        for (HidHandle h : {one, two}) {
            uint8_t r[64] = {};
            QCOMPARE(m_mouse->readTimeout(h, r, 64, 0), 9); // key down, with its report ID
            QCOMPARE(QByteArray(reinterpret_cast<char *>(r), 4), QByteArray::fromHex("02000049"));
            QCOMPARE(m_mouse->readTimeout(h, r, 64, 0), 9); // key up
            QCOMPARE(m_mouse->readTimeout(h, r, 64, 200), 33);
            QCOMPARE(r[3], uint8_t(0x49));
        }

        // Moving at 1000 Hz: reports come at that rate, and a queue nobody reads keeps the 63
        // oldest and drops the rest, a change report of the mouse among them.
        m_mouse->setMotion(1000);
        QTest::qWait(150);
        m_mouse->sendChangeReport(3, 0, 1, 0);
        int pointer = 0;
        int other = 0;
        uint8_t r[64] = {};
        for (int n; (n = m_mouse->readTimeout(one, r, 64, 0)) > 0;)
            (r[0] == 1 && n == 8 ? pointer : other)++;
        QCOMPARE(pointer, 63);
        QCOMPARE(other, 0);
        // The other handle: its own 63, then about one report a millisecond.
        int read = 0;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 100)
            read += m_mouse->readTimeout(two, r, 64, 50) > 0 && r[0] == 1 ? 1 : 0;
        QVERIFY2(read > 63 + 50 && read < 63 + 150, qPrintable(QString::number(read)));
        m_mouse->setMotion(0);
        while (m_mouse->readTimeout(two, r, 64, 0) > 0) {
        }
        QCOMPARE(m_mouse->readTimeout(two, r, 64, 20), 0); // still: nothing more comes
    }

    void changeReportsTakeTheCableWhenItIsThere()
    {
        m_mouse->plug(A::Cable);
        HidHandle cable = m_mouse->open(m_mouse->collectionPath(A::Cable, C::Command));
        m_mouse->sendChangeReport(1, 0, 1, 0);
        uint8_t buffer[33] = {};
        QCOMPARE(m_mouse->readTimeout(cable, buffer, 33, 200), 33);
        QCOMPARE(m_mouse->readTimeout(m_command, buffer, 33, 0), 0);
    }

    // As a hidraw node: a full queue keeps what it holds and drops what comes after.
    void fullQueueDropsTheNewestReports()
    {
        for (int i = 0; i < 100; ++i)
            m_mouse->sendChangeReport(0, 0, uint8_t(i), 0);
        uint8_t buffer[33] = {};
        QVector<int> rates;
        while (m_mouse->readTimeout(m_command, buffer, 33, 20) > 0)
            rates.append(buffer[frame::kChangeRate]);
        QCOMPARE(rates.size(), 63);
        QCOMPARE(rates.first(), 0);
        QCOMPARE(rates.last(), 62);
        // Reading makes room: the next report is queued again.
        m_mouse->sendChangeReport(0, 0, 200, 0);
        QCOMPARE(m_mouse->readTimeout(m_command, buffer, 33, 200), 33);
        QCOMPARE(int(buffer[frame::kChangeRate]), 200);
    }

    void readTimesOutHonestly()
    {
        uint8_t buffer[33] = {};
        QElapsedTimer t;
        t.start();
        QCOMPARE(m_mouse->readTimeout(m_command, buffer, 33, 60), 0);
        QVERIFY(t.elapsed() >= 60);
        // An answer is not there before its delay has passed.
        m_mouse->setAnswerDelay(300, 300);
        m_mouse->sendChangeReport(1, 1, 1, 0);
        QCOMPARE(m_mouse->readTimeout(m_command, buffer, 33, 10), 0);
        QCOMPARE(m_mouse->readTimeout(m_command, buffer, 33, 2000), 33);
    }

    void hotplugEventsAndDeadHandles()
    {
        QSignalSpy spy(m_mouse.get(), &EmulatedMouse::interfaceChanged);
        bracket(0);
        exchange(packet(0x02, 0, frame::kPhaseFirst, pattern(5, 2)));
        QVERIFY(!m_mouse->pendingBlock(0x02).isEmpty());
        m_mouse->unplug(A::Receiver);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy[0][0].toBool(), false);
        QCOMPARE(spy[0][1].toInt(), 0x248A);
        QCOMPARE(spy[0][2].toInt(), 0xFA99);
        QCOMPARE(spy[1][3].toInt(), 4);
        QCOMPARE(spy[1][4].toByteArray(), m_mouse->collectionPath(A::Receiver, C::Command));
        uint8_t buffer[33] = {};
        QCOMPARE(m_mouse->readTimeout(m_command, buffer, 33, 10), -1);
        m_mouse->plug(A::Receiver);
        QCOMPARE(spy.size(), 4);
        QCOMPARE(spy[2][0].toBool(), true);
        // Handles from before the unplug stay dead; the cut-off block write is gone.
        QCOMPARE(m_mouse->write(m_command, buffer, 33), -1);
        QVERIFY(m_mouse->pendingBlock(0x02).isEmpty());
        QVERIFY(m_mouse->open(m_mouse->collectionPath(A::Receiver, C::Command)));
        m_mouse->plug(A::Receiver); // already plugged: no event
        QCOMPARE(spy.size(), 4);
    }

    void unplugAfterWritesCutsTheWrite()
    {
        QSignalSpy spy(m_mouse.get(), &EmulatedMouse::interfaceChanged);
        m_mouse->setUnplugAfterWrites(1);
        const frame::Report r = packet(0x01, 0, frame::kPhaseFirst, pattern(19, 4));
        QCOMPARE(m_mouse->write(m_command, r.data(), 33), 33);
        QCOMPARE(m_mouse->write(m_command, closing(0x01).data(), 33), -1);
        QCOMPARE(spy.size(), 2);
        QVERIFY(!m_mouse->isPlugged(A::Receiver));
    }

    void unknownAndClosedHandlesFail()
    {
        uint8_t buffer[33] = {};
        QCOMPARE(m_mouse->write(reinterpret_cast<HidHandle>(quintptr(999)), buffer, 33), -1);
        QCOMPARE(m_mouse->readTimeout(nullptr, buffer, 33, 0), -1);
        m_mouse->close(m_command);
        QCOMPARE(m_mouse->write(m_command, buffer, 33), -1);
        QVERIFY(!m_mouse->open("emu://nowhere"));
        QVERIFY(!m_mouse->open(QByteArray()));
    }

    void readerAndWriterOnTwoThreads()
    {
        bracket(0);
        const frame::Report first = packet(0x05, 0, frame::kPhaseFirst, pattern(20, 0));
        QCOMPARE(exchange(first), toBytes(first));
        HidHandle listener = m_mouse->open(m_mouse->collectionPath(A::Receiver, C::Command));
        std::atomic<bool> stop{false};
        std::atomic<int> heard{0};
        QThread *reader = QThread::create([&] {
            uint8_t buffer[33];
            while (!stop.load()) {
                if (m_mouse->readTimeout(listener, buffer, 33, 5) > 0)
                    ++heard;
            }
        });
        reader->start();
        int answered = 0;
        for (int i = 0; i < 200; ++i) {
            const frame::Report r = packet(0x05, (i % 100) * 20, frame::kPhaseMore, pattern(20, i));
            answered += exchange(r) == toBytes(r) ? 1 : 0;
        }
        // The listener may still be draining its queue when the last exchange returns.
        QTRY_COMPARE_WITH_TIMEOUT(heard.load(), 200, 5000);
        stop = true;
        reader->wait();
        delete reader;
        QCOMPARE(answered, 200);
        QCOMPARE(heard.load(), 200);
    }
};

QTEST_GUILESS_MAIN(EmulatedMouseTest)
#include "test_emulatedmouse.moc"
