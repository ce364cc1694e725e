// The whole write against the emulated mouse: the command sequence of each change mask, what
// the mouse holds afterwards block by block, the product switches that shape the blocks, macro
// slots and their upload, refusals that send nothing, transport failures, and the status poller
// being stopped before the first report and brought back afterwards.
#include "device/commandset.h"
#include "device/statusquery.h"
#include "device/writeresult.h"
#include "macro/macrofile.h"
#include "writefixture.h"

#include <QLoggingCategory>
#include <QtTest>

using namespace mc;
using namespace mc::test;
using A = EmulatedMouse::Attachment;

using Bytes = QVector<int>;
Q_DECLARE_METATYPE(Bytes)

namespace {

Bytes bytesOf(const QByteArray &a, int from = 0, int n = -1)
{
    Bytes b;
    const int end = n < 0 ? a.size() : from + n;
    for (int i = from; i < end && i < a.size(); ++i)
        b.append(uint8_t(a.at(i)));
    return b;
}

ButtonInfo fun(int code)
{
    ButtonInfo e;
    e.Fun = code;
    return e;
}

ButtonInfo macroEntry(const QString &name, int loops = 1)
{
    ButtonInfo e = fun(200);
    e.macroname = name;
    e.LoopNumber = loops;
    return e;
}

// A store in which every slot and field differs, so a byte in the wrong place shows.
ProfileStore sampleStore()
{
    ProfileStore s;
    s.ProfileID = 1;
    s.LiftHigh = 2;
    s.Debounce = 12;
    for (int i = 0; i < kSlotCount; ++i) {
        ProfileData &p = s.profiles[size_t(i)];
        p.scrollspeed = uint8_t(3 + i);
        p.pollrate = uint8_t(1 << (i % 4));
        p.LedMoveOFF = uint8_t(i);
        p.LedSleepTime = uint8_t(5 + i);
        p.dpi = uint8_t(i + 1);
        p.LedMode = uint8_t(i + 10);
        for (int k = 0; k < kStageCount; ++k)
            p.stages[size_t(k)] = DpiStage{uint8_t(k % 3 != 0), 0, 0, uint32_t(100 + 40 * k + i),
                                           uint32_t(300 + 50 * k)};
        for (int k = 0; k < kLedModeCount; ++k)
            p.leds[size_t(k)] = LedModeInfo{
                QColor(10 * k, 20 + k, 200 - k), 0, 0, 0, uint32_t(k % 5), uint32_t(k % 4)};
        p.buttons[40] = fun(52);
        p.buttons[41] = fun(53);
    }
    auto &b = s.profiles[0].buttons;
    b[0] = fun(1);
    b[1] = fun(2);
    b[2] = fun(3);
    b[3] = fun(4);
    b[4] = macroEntry("Burst", 3);
    b[5] = fun(47);
    return s;
}

} // namespace

class TestApplyChanges : public QObject
{
    Q_OBJECT

private slots:
    // The messages checked below are debug messages, off unless asked for.
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
    }

    void init();
    void cleanup();

    void maskZeroSendsBracketsOnly();
    void maskTwoSendsTheExactSequence();
    void maskBitsBeyondTheGroupsAreIgnored();
    void fullWriteLeavesTheStoreInTheMouse();
    void writeWhileThePointerMovesAndKeysArePressed();
    void dpiStageCountIsClamped_data();
    void dpiStageCountIsClamped();
    void sensorOptionByteOfTheProductVariant_data();
    void sensorOptionByteOfTheProductVariant();
    void lightingModeSevenSelectsEffectSix();
    void dpiRegisterFormOfTheSensor_data();
    void dpiRegisterFormOfTheSensor();
    void sensor3395IsLimitedWhenTheStatusSaysSo();
    void sharedMacroTakesOneSlotAndIsSentOnce();
    void macroOnlyInOtherSlotsIsNotUploaded();
    void macroEntryWithoutAUsableNameIsNoFunction();
    void fiveActionMacroIsPackedWithDelays();
    void wheelSwapOfTheProduct();
    void nextWriteWithoutButtonsSendsNoMacros();
    void tooManyMacrosAreRefusedBeforeAnythingIsSent();
    void firstFailureEndsTheWrite_data();
    void firstFailureEndsTheWrite();
    void noMouseNoTraffic();
    void pollerIsStoppedFirstAndRestartedAfterwards_data();
    void pollerIsStoppedFirstAndRestartedAfterwards();
    void selectProfile();
    void selectProfileOutOfRangeSendsNothing_data();
    void selectProfileOutOfRangeSendsNothing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestApplyChanges::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeProductFiles(m_dir->path(), 3395, 6);
}

void TestApplyChanges::cleanup() {}

void TestApplyChanges::maskZeroSendsBracketsOnly()
{
    OpenMouse mouse;
    QCOMPARE(int(ApplyChanges(mouse.connection(), sampleStore(), 0)), 0);
    QCOMPARE(wireSummary(mouse->writtenReports()), (QStringList{"46 00 00", "46 01 00"}));
    QCOMPARE(mouse->commitCount(), 0);
}

void TestApplyChanges::maskTwoSendsTheExactSequence()
{
    OpenMouse mouse;
    QCOMPARE(int(ApplyChanges(mouse.connection(), sampleStore(), 2)), 0);
    QCOMPARE(wireSummary(mouse->writtenReports()),
             (QStringList{"46 00 00", "02 0000 01 d1", "02 0001 05 d2", "02 0006 05 d2",
                          "02 000b 05 d2", "02 0010 05 d2", "02 0015 05 d2", "02 001a 05 d2",
                          "02 001f 05 d2", "02 0024 05 d2", "02 007f 01 d3", "40 f3 04", "40 f3 01",
                          "40 f3 02", "40 f3 08", "40 f3 10", "46 01 00"}));
    QVERIFY(!mouse->writeBracketOpen());
}

void TestApplyChanges::maskBitsBeyondTheGroupsAreIgnored()
{
    OpenMouse mouse;
    QCOMPARE(int(ApplyChanges(mouse.connection(), sampleStore(), 0x7F0 | 2)), 0);
    QCOMPARE(wireSummary(mouse->writtenReports()).size(), 17);
}

void TestApplyChanges::fullWriteLeavesTheStoreInTheMouse()
{
    QVERIFY(saveMacro("Burst",
                      Macro{{}, {macro::keyPress(4), macro::delayCount(2), macro::keyRelease(4)}}));
    OpenMouse mouse;
    const ProfileStore s = sampleStore();
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 15)), 0);
    const ProfileData &p0 = s.profiles[0];
    const ProfileData &pc = s.profiles[1];

    // General block: wheel speeds, lift, slot, slot 0's sleep settings, debounce, report
    // intervals, the active slot's stage and lighting effect (mode 11 is lighting slot 6).
    QCOMPARE(bytesOf(mouse->blockMemory(0x01)),
             (Bytes{3, 4, 5, 6, 7, 2, 1, p0.LedMoveOFF, p0.LedSleepTime, 12, 1, 1, 2, 4, 8, 1, 0x1F,
                    pc.dpi, 7}));
    QCOMPARE(mouse->activeSlot(), 1);
    QCOMPARE(mouse->activeStage(), int(pc.dpi));

    // DPI block of slot 0: six stages, each used flag and both raw values, 16 bits each.
    const QByteArray dpi = mouse->blockMemory(0x02);
    QCOMPARE(int(uint8_t(dpi.at(0))), 6);
    for (int k = 0; k < kStageCount; ++k) {
        const DpiStage &st = p0.stages[size_t(k)];
        const Bytes expected{k < 6 ? st.used : 0, int(st.x & 0xFF), int(st.x >> 8),
                             int(st.y & 0xFF), int(st.y >> 8)};
        QCOMPARE(bytesOf(dpi, 1 + 5 * k, 5), expected);
    }

    // Button block: entry i at the product's slot (1, 0, 2, 3, 4, 5), wheels at 22 and 23.
    const QByteArray buttons = mouse->blockMemory(0x03);
    QCOMPARE(bytesOf(buttons, 0, 2), (Bytes{0x0A, 0x00}));
    QCOMPARE(bytesOf(buttons, 2 + 4 * 1, 4), (Bytes{0x81, 0, 0, 0}));
    QCOMPARE(bytesOf(buttons, 2 + 4 * 0, 4), (Bytes{0x82, 0, 0, 0}));
    QCOMPARE(bytesOf(buttons, 2 + 4 * 2, 4), (Bytes{0x83, 0, 0, 0}));
    QCOMPARE(bytesOf(buttons, 2 + 4 * 3, 4), (Bytes{0x85, 0, 0, 0}));
    QCOMPARE(bytesOf(buttons, 2 + 4 * 4, 4), (Bytes{0x91, 0, 3, 0}));
    QCOMPARE(bytesOf(buttons, 2 + 4 * 5, 4), (Bytes{0x88, 0, 0, 0}));
    QCOMPARE(bytesOf(buttons, 90, 4), (Bytes{0x8B, 0, 0, 0}));
    QCOMPARE(bytesOf(buttons, 94, 4), (Bytes{0x8C, 0, 0, 0}));
    QCOMPARE(bytesOf(buttons, 98, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(bytesOf(buttons, 26, 64), Bytes(64, 0)); // slots 6..21: no button

    // Lighting block of slot 0.
    const QByteArray light = mouse->blockMemory(0x04);
    const auto &L = p0.leds;
    QCOMPARE(bytesOf(light, 8, 8), (Bytes{0x80, L[1].color.red(), L[1].color.green(),
                                          L[1].color.blue(), 1, 0, 2, int(L[1].bright)}));
    QCOMPARE(bytesOf(light, 16, 8), (Bytes{0x80, L[2].color.red(), L[2].color.green(),
                                           L[2].color.blue(), 1, int(L[2].breath), 4, 3}));
    QCOMPARE(bytesOf(light, 40, 8),
             (Bytes{0x80, 0, 0, 0, 5, int(L[9].breath), 1, int(L[9].bright)}));
    QCOMPARE(bytesOf(light, 72, 8),
             (Bytes{0x80, 0, 0, 0, 9, int(L[13].breath), 0, int(L[13].bright)}));

    // Macro area: the one macro in slot 0, unchanged since it has a delay.
    const QByteArray area = mouse->macroArea();
    QCOMPARE(bytesOf(area, 0, 10), (Bytes{0x84, 4, 0, 6, 2, 0, 4, 4, 0, 0}));
    QCOMPARE(bytesOf(area, 10), Bytes(4000 - 10, 0));

    // The device copy notes the macro's slot.
    QCOMPARE(int(mouse.connection().writeState().deviceCopy.profiles[0].buttons[4].Res4), 0);
    QVERIFY(!mouse->writeBracketOpen());
}

void TestApplyChanges::writeWhileThePointerMovesAndKeysArePressed()
{
    // What the mouse holds after a write on a still mouse...
    const ProfileStore s = sampleStore();
    QVector<QByteArray> still;
    QStringList stillWire;
    {
        OpenMouse mouse;
        QCOMPARE(int(ApplyChanges(mouse.connection(), s, 15)), 0);
        for (uint8_t c = 0x01; c <= 0x05; ++c)
            still << mouse->blockMemory(c);
        stillWire = wireSummary(mouse->writtenReports());
    }
    // ...it holds too when the receiver's node brings the pointer's reports at 1000 Hz, and
    // keys whose first key byte reads like a status answer or a change report, to every handle.
    OpenMouse mouse;
    mouse->setMotion(1000);
    QTest::qWait(100); // the queue is full before the first command
    mouse->sendKey(0x49);
    mouse->sendKey(0x48);
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 15)), 0);
    for (uint8_t c = 0x01; c <= 0x05; ++c)
        QCOMPARE(mouse->blockMemory(c), still.at(c - 1));
    // The same reports, each once: nothing was taken for a wrong echo and sent again.
    QCOMPARE(wireSummary(mouse->writtenReports()), stillWire);
    QCOMPARE(mouse->refusedCount(), 0);
}

void TestApplyChanges::dpiStageCountIsClamped_data()
{
    QTest::addColumn<int>("dpiCount");
    QTest::addColumn<int>("sent");
    QTest::newRow("zero") << 0 << 8;
    QTest::newRow("nine") << 9 << 8;
    QTest::newRow("four") << 4 << 4;
}

void TestApplyChanges::dpiStageCountIsClamped()
{
    QFETCH(int, dpiCount);
    QFETCH(int, sent);
    writeProductFiles(m_dir->path(), 3395, dpiCount);
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    for (DpiStage &st : s.profiles[0].stages)
        st.used = 1;
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 2)), 0);
    const QByteArray dpi = mouse->blockMemory(0x02);
    QCOMPARE(int(uint8_t(dpi.at(0))), sent);
    for (int k = 0; k < kStageCount; ++k)
        QCOMPARE(int(uint8_t(dpi.at(1 + 5 * k))), k < sent ? 1 : 0);
}

void TestApplyChanges::sensorOptionByteOfTheProductVariant_data()
{
    QTest::addColumn<int>("productSync");
    QTest::addColumn<int>("expected");
    QTest::newRow("variant 0: the lift") << 0 << 2;
    QTest::newRow("variant 1: the sync flag") << 1 << 1;
    QTest::newRow("variant 2: lift and option bits") << 2 << (2 | 0xE0);
    QTest::newRow("any other value: as variant 2") << 3 << (2 | 0xE0);
}

void TestApplyChanges::sensorOptionByteOfTheProductVariant()
{
    QFETCH(int, productSync);
    writeProductFiles(m_dir->path(), 3395, 6, productSync);
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    s.LiftHigh = 2;
    s.Sync = 1;
    s.AngleValue = 0;
    s.Jitter = 0;
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 1)), 0);
    QTEST(int(uint8_t(mouse->blockMemory(0x01).at(5))), "expected");
}

void TestApplyChanges::lightingModeSevenSelectsEffectSix()
{
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    s.profiles[1].LedMode = 7;
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 1)), 0);
    QCOMPARE(int(uint8_t(mouse->blockMemory(0x01).at(18))), 6);
}

void TestApplyChanges::dpiRegisterFormOfTheSensor_data()
{
    QTest::addColumn<int>("sensor");
    QTest::addColumn<uint>("x");
    QTest::addColumn<uint>("y");
    QTest::addColumn<Bytes>("expected");
    QTest::newRow("3212 raw 64 and 95") << 3212 << 64u << 95u << Bytes{1, 32, 1, 32, 2};
    QTest::newRow("3104 puts y first") << 3104 << 20u << 107u << Bytes{1, 54, 1, 20, 0};
    QTest::newRow("sensor without a form") << 1234 << 20u << 30u << Bytes{1, 0, 0, 0, 0};
}

void TestApplyChanges::dpiRegisterFormOfTheSensor()
{
    QFETCH(int, sensor);
    QFETCH(uint, x);
    QFETCH(uint, y);
    QFETCH(Bytes, expected);
    writeProductFiles(m_dir->path(), sensor, 6);
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    s.profiles[0].stages[0] = DpiStage{1, 0, 0, x, y};
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 2)), 0);
    QCOMPARE(bytesOf(mouse->blockMemory(0x02), 1, 5), expected);
}

void TestApplyChanges::sensor3395IsLimitedWhenTheStatusSaysSo()
{
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    s.profiles[0].stages[0] = DpiStage{1, 0, 0, 500, 300};
    mouse->setStatusByte(8);
    QCOMPARE(int(queryStatusOnce(mouse.connection()).outcome), int(QueryOutcome::Answer));
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 2)), 0);
    QCOMPARE(bytesOf(mouse->blockMemory(0x02), 1, 5), (Bytes{1, 0x8F, 0x01, 0x2C, 0x01}));

    mouse->setStatusByte(0);
    queryStatusOnce(mouse.connection());
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 2)), 0);
    QCOMPARE(bytesOf(mouse->blockMemory(0x02), 1, 5), (Bytes{1, 0xF4, 0x01, 0x2C, 0x01}));
}

void TestApplyChanges::sharedMacroTakesOneSlotAndIsSentOnce()
{
    QVERIFY(saveMacro("Burst", Macro{{}, {macro::keyPress(4)}}));
    QVERIFY(saveMacro("Other", Macro{{}, {macro::keyPress(5)}}));
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    s.profiles[0].buttons[0] = macroEntry("Burst", 1);
    s.profiles[0].buttons[2] = macroEntry("Other", 1);
    s.profiles[3].buttons[7] = macroEntry("Burst", 1); // a later slot of the store runs it too
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 4)), 0);

    const QByteArray buttons = mouse->blockMemory(0x03);
    QCOMPARE(bytesOf(buttons, 2 + 4 * 1, 4), (Bytes{0x91, 0, 1, 0})); // entry 0
    QCOMPARE(bytesOf(buttons, 2 + 4 * 4, 4), (Bytes{0x91, 0, 3, 0})); // entry 4
    QCOMPARE(bytesOf(buttons, 2 + 4 * 2, 4), (Bytes{0x91, 1, 1, 0})); // entry 2: "Other"

    const QStringList wire = wireSummary(mouse->writtenReports());
    QCOMPARE(int(wire.filter(QRegularExpression("^05 ")).size()), 2 * 10 + 1);
    QCOMPARE(bytesOf(mouse->macroArea(), 0, 7), (Bytes{0x84, 4, 0, 6, 1, 0, 0}));
    QCOMPARE(bytesOf(mouse->macroArea(), 200, 7), (Bytes{0x84, 5, 0, 6, 1, 0, 0}));
    QCOMPARE(bytesOf(mouse->macroArea(), 400), Bytes(3600, 0));
}

void TestApplyChanges::macroOnlyInOtherSlotsIsNotUploaded()
{
    QVERIFY(saveMacro("Elsewhere", Macro{{}, {macro::keyPress(4)}}));
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    s.profiles[0].buttons[4] = fun(1);
    for (int slot = 1; slot < kSlotCount; ++slot)
        s.profiles[size_t(slot)].buttons[0] = macroEntry("Elsewhere");
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 15)), 0);
    QVERIFY(wireSummary(mouse->writtenReports()).filter(QRegularExpression("^05 ")).isEmpty());
    QCOMPARE(bytesOf(mouse->macroArea()), Bytes(4000, 0));
}

void TestApplyChanges::macroEntryWithoutAUsableNameIsNoFunction()
{
    QVERIFY(saveMacro("Burst", Macro{{}, {macro::keyPress(4)}}));
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    s.profiles[0].buttons[0] = macroEntry("");
    s.profiles[0].buttons[2] = macroEntry("../Burst");
    s.profiles[0].buttons[41] = macroEntry("a/b");
    s.profiles[0].buttons[41].Fun = 510;
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 4)), 0);

    // No function, and no slot spent: "Burst" still runs from slot 0.
    const QByteArray buttons = mouse->blockMemory(0x03);
    QCOMPARE(bytesOf(buttons, 2 + 4 * 1, 4), (Bytes{0, 0, 0, 0})); // entry 0
    QCOMPARE(bytesOf(buttons, 2 + 4 * 2, 4), (Bytes{0, 0, 0, 0})); // entry 2
    QCOMPARE(bytesOf(buttons, 94, 4), (Bytes{0, 0, 0, 0}));        // entry 41
    QCOMPARE(bytesOf(buttons, 2 + 4 * 4, 4), (Bytes{0x91, 0, 3, 0}));
    const QStringList wire = wireSummary(mouse->writtenReports());
    QCOMPARE(int(wire.filter(QRegularExpression("^05 ")).size()), 10 + 1);
    QCOMPARE(bytesOf(mouse->macroArea(), 0, 7), (Bytes{0x84, 4, 0, 6, 1, 0, 0}));
    QCOMPARE(bytesOf(mouse->macroArea(), 200), Bytes(3800, 0));
}

void TestApplyChanges::fiveActionMacroIsPackedWithDelays()
{
    QVector<MacroAction> five;
    for (int i = 0; i < 5; ++i)
        five << macro::keyPress(uint8_t(4 + i));
    QVERIFY(saveMacro("Five", Macro{{}, five}));
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    s.profiles[0].buttons[4] = macroEntry("Five");
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 4)), 0);
    QCOMPARE(bytesOf(mouse->macroArea(), 0, 25),
             (Bytes{0x84, 4, 0,    0x84, 5, 0, 0x84, 6, 0, 0x84, 7, 0, 6,
                    1,    0, 0x84, 8,    0, 6, 1,    0, 0, 0,    0, 0}));
}

void TestApplyChanges::wheelSwapOfTheProduct()
{
    writeProductFiles(m_dir->path(), 3395, 6, 0, {{"PROFILE/ScrollRev", 1}});
    OpenMouse mouse;
    QCOMPARE(int(ApplyChanges(mouse.connection(), sampleStore(), 4)), 0);
    const QByteArray buttons = mouse->blockMemory(0x03);
    QCOMPARE(int(uint8_t(buttons.at(94))), 0x8B); // wheel up at offset 94
    QCOMPARE(int(uint8_t(buttons.at(90))), 0x8C);
}

void TestApplyChanges::nextWriteWithoutButtonsSendsNoMacros()
{
    QVERIFY(saveMacro("Burst", Macro{{}, {macro::keyPress(4)}}));
    OpenMouse mouse;
    QCOMPARE(int(ApplyChanges(mouse.connection(), sampleStore(), 15)), 0);
    QVERIFY(!wireSummary(mouse->writtenReports()).filter(QRegularExpression("^05 ")).isEmpty());
    mouse->clearLog();
    QCOMPARE(int(ApplyChanges(mouse.connection(), sampleStore(), 2)), 0);
    QVERIFY(wireSummary(mouse->writtenReports()).filter(QRegularExpression("^05 ")).isEmpty());
    QCOMPARE(wireSummary(mouse->writtenReports()).size(), 17);
}

void TestApplyChanges::tooManyMacrosAreRefusedBeforeAnythingIsSent()
{
    writeProductFiles(m_dir->path(), 3395, 6, 0, {{"PROFILE/ButtonCount", 13}});
    OpenMouse mouse;
    ProfileStore s = sampleStore();
    for (int i = 0; i < 13; ++i)
        s.profiles[0].buttons[size_t(i)] = macroEntry(QString("M%1").arg(i));
    // Thirteen buttons mapped: the description's map lists slots for the first six only, the
    // others read as slot 0, which is enough to number thirteen macros.
    QTest::ignoreMessage(QtDebugMsg, "more macros than the mouse has slots (12); none is sent");
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 15)), int(kTooManyMacros));
    QCOMPARE(mouse->writeCount(), 0);
    QCOMPARE(writeResultText(kTooManyMacros),
             QString("The buttons run more than 12 different macros; the mouse holds at most "
                     "12. Nothing was sent."));

    // Twelve fit.
    s.profiles[0].buttons[12] = fun(1);
    QCOMPARE(int(ApplyChanges(mouse.connection(), s, 15)), 0);
}

void TestApplyChanges::firstFailureEndsTheWrite_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("writes");
    QTest::newRow("write fails") << 0 << 4 << 0;
    QTest::newRow("echo data wrong each time") << 1 << 2 << 0;
    QTest::newRow("unplugged after the bracket and general block") << 2 << 4 << 3;
}

void TestApplyChanges::firstFailureEndsTheWrite()
{
    QFETCH(int, fault);
    QFETCH(int, result);
    QFETCH(int, writes);
    OpenMouse mouse;
    if (fault == 0)
        mouse->setWriteFailure(true);
    else if (fault == 1)
        mouse->setWrongEchoData(-1);
    else
        mouse->setUnplugAfterWrites(3);
    QCOMPARE(int(ApplyChanges(mouse.connection(), sampleStore(), 15)), result);
    const QStringList wire = wireSummary(mouse->writtenReports());
    if (fault == 1) { // the bracket carries no data; the general block is written three times
        QCOMPARE(wire,
                 (QStringList{"46 00 00", "01 0000 13 d1", "01 0000 13 d1", "01 0000 13 d1"}));
    } else {
        QCOMPARE(wire.size(), writes);
    }
    QCOMPARE(mouse->commitCount(), 0);
}

void TestApplyChanges::noMouseNoTraffic()
{
    OpenMouse mouse;
    CloseDevices(mouse.connection());
    QCOMPARE(int(ApplyChanges(mouse.connection(), sampleStore(), 15)), int(kNoDevice));
    QCOMPARE(mouse->writeCount(), 0);
}

void TestApplyChanges::pollerIsStoppedFirstAndRestartedAfterwards_data()
{
    QTest::addColumn<bool>("fail");
    QTest::newRow("success") << false;
    QTest::newRow("failure") << true;
}

void TestApplyChanges::pollerIsStoppedFirstAndRestartedAfterwards()
{
    QFETCH(bool, fail);
    OpenMouse mouse;
    MouseConnection &c = mouse.connection();
    // A poller that queries at once and listens without pauses: left running, it would query
    // between the write's reports and read their echoes away.
    c.setPollTimings({0, 5, 0, 1, 0, 0});
    c.startPoller();
    QTRY_VERIFY(!mouse->writtenReports().isEmpty()); // its first query
    mouse->clearLog();
    mouse->setWriteFailure(fail);
    const uint8_t result = ApplyChanges(c, sampleStore(), 2);
    QCOMPARE(int(result), fail ? int(kWriteFailed) : 0);
    const QStringList wire = wireSummary(mouse->writtenReports());
    QVERIFY2(!wire.join(' ').contains("48 00 00"), qPrintable(wire.join(", ")));
    QCOMPARE(wire.size(), fail ? 0 : 17);
    QVERIFY(c.pollerRunning()); // back after a failure too
    c.stopPoller();
}

void TestApplyChanges::selectProfile()
{
    OpenMouse mouse;
    QCOMPARE(int(SelectProfile(mouse.connection(), 3)), 0);
    QCOMPARE(wireSummary(mouse->writtenReports()), (QStringList{"44 03 00", "40 f3 01"}));
    QCOMPARE(int(CommitSettings(mouse.connection())), 0);
    QCOMPARE(wireSummary(mouse->writtenReports()).mid(2),
             (QStringList{"40 f3 04", "40 f3 01", "40 f3 02", "40 f3 08", "40 f3 10"}));
}

void TestApplyChanges::selectProfileOutOfRangeSendsNothing_data()
{
    QTest::addColumn<int>("slot");
    QTest::newRow("five") << 5;
    QTest::newRow("nine") << 9;
    QTest::newRow("negative") << -1;
}

void TestApplyChanges::selectProfileOutOfRangeSendsNothing()
{
    QFETCH(int, slot);
    OpenMouse mouse;
    QCOMPARE(int(SelectProfile(mouse.connection(), slot)), int(kValueOutOfRange));
    QCOMPARE(mouse->writeCount(), 0);
}

QTEST_GUILESS_MAIN(TestApplyChanges)
#include "test_applychanges.moc"
