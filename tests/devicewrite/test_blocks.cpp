// Block building without the wire, for what the emulated-mouse tests do not reach: every
// sensor-option variant and lighting effect number, damaged slot and stage numbers, all ten
// lighting slots, macro numbering with its loop modes, the sniper byte, damaged slot maps, the
// macro packing rule at its edges and the cut at the slot's end, hostile macro names and more
// macros than slots.
#include "device/buttonblock.h"
#include "device/macroupload.h"
#include "device/settingsblocks.h"
#include "macro/macrofile.h"
#include "profile/paths.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <QLoggingCategory>

using namespace mc;

using Bytes = QVector<int>;
using Actions = QVector<MacroAction>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(Actions)

namespace {

Bytes bytes(const uint8_t *p, int n)
{
    return Bytes(p, p + n);
}
Bytes codeAt(const ButtonBlock &b, int slot)
{
    return bytes(b.data() + 2 + 4 * slot, 4);
}

ButtonInfo macroEntry(const QString &name, int mode = 0, int loops = 1, int fun = 200)
{
    ButtonInfo e;
    e.Fun = fun;
    e.macroname = name;
    e.Res1 = uint8_t(mode);
    e.LoopNumber = loops;
    return e;
}

ProductSwitches buttons(int count)
{
    ProductSwitches p;
    p.buttonCount = count;
    for (int i = 0; i < kMatrixCount; ++i)
        p.slotMap[size_t(i)] = uint8_t(i);
    return p;
}

} // namespace

class TestBlocks : public QObject
{
    Q_OBJECT

private slots:
    // The messages checked below are debug messages, off unless asked for.
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true")); }

    void sensorOptionByte_data();
    void sensorOptionByte();
    void lightingEffectNumber_data();
    void lightingEffectNumber();
    void damagedSlotAndStageNumbers();
    void lightingBlockBytes();
    void macroNumberingAndLoopModes();
    void sniperByte_data();
    void sniperByte();
    void damagedSlotMapIsNotUsedAsAnIndex();
    void packing_data();
    void packing();
    void longMacroIsCutAtTheSlotsEnd();
    void macroFit_data();
    void macroFit();
    void missingAndHostileMacroFilesPackAsEmpty();
    void moreMacrosThanSlotsPackNothing();
};

void TestBlocks::sensorOptionByte_data()
{
    QTest::addColumn<int>("productSync");
    QTest::addColumn<int>("sync");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("jitter");
    QTest::addColumn<int>("expected"); // lift is 2 in every row
    QTest::newRow("variant 0 is the lift") << 0 << 1 << 0 << 0 << 2;
    QTest::newRow("variant 1 sync on") << 1 << 5 << 0 << 0 << 1;
    QTest::newRow("variant 1 sync off") << 1 << 0 << 0 << 0 << 0;
    QTest::newRow("variant 2 all off") << 2 << 0 << 1 << 1 << 2;
    QTest::newRow("variant 2 sync") << 2 << 1 << 1 << 1 << (2 | 0x80);
    QTest::newRow("variant 2 angle snapping") << 2 << 0 << 0 << 1 << (2 | 0x40);
    QTest::newRow("variant 2 jitter filter") << 2 << 0 << 1 << 0 << (2 | 0x20);
    QTest::newRow("unknown variant as 2") << 7 << 1 << 0 << 0 << (2 | 0xE0);
}

void TestBlocks::sensorOptionByte()
{
    QFETCH(int, productSync);
    ProfileStore s;
    s.LiftHigh = 2;
    QFETCH(int, sync);
    QFETCH(int, angle);
    QFETCH(int, jitter);
    s.Sync = uint8_t(sync);
    s.AngleValue = uint8_t(angle);
    s.Jitter = uint8_t(jitter);
    QTEST(int(buildGeneralBlock(s, productSync)[general::kSensorOptions]), "expected");
}

void TestBlocks::lightingEffectNumber_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("expected");
    const int expected[kLedModeCount] = {1, 2, 3, 4, 5, 6, 6, 6, 6, 6, 8, 7, 9, 10};
    for (int m = 0; m < kLedModeCount; ++m)
        QTest::addRow("mode %d", m) << m << expected[m];
    QTest::newRow("mode 14") << 14 << 6;
    QTest::newRow("mode 200") << 200 << 6;
}

void TestBlocks::lightingEffectNumber()
{
    QFETCH(int, mode);
    ProfileStore s;
    s.ProfileID = 4;
    s.profiles[4].LedMode = uint8_t(mode);
    QTEST(int(buildGeneralBlock(s, 0)[general::kEffect]), "expected");
}

void TestBlocks::damagedSlotAndStageNumbers()
{
    ProfileStore s;
    s.ProfileID = 9;
    s.profiles[0].dpi = 200;
    s.profiles[0].LedMode = 1;
    const GeneralBlock b = buildGeneralBlock(s, 0);
    QCOMPARE(int(b[general::kActiveSlot]), 0);
    QCOMPARE(int(b[general::kActiveStage]), 0);
    QCOMPARE(int(b[general::kEffect]), 2); // slot 0 stands in for the missing slot 9
}

void TestBlocks::lightingBlockBytes()
{
    ProfileStore s;
    s.ProfileID = 1; // the block is built from slot 0 whatever is active
    for (int k = 0; k < kLedModeCount; ++k) {
        s.profiles[0].leds[size_t(k)] = LedModeInfo{
            QColor(k, 100 + k, 200 + k), 0, 0, 0, uint32_t(0x100 + k), uint32_t(30 + k)};
        s.profiles[1].leds[size_t(k)] = LedModeInfo{QColor(9, 9, 9), 1, 1, 1, 99, 99};
    }
    const LightingBlock b = buildLightingBlock(s);
    QCOMPARE(bytes(b.data(), int(b.size())),
             (Bytes{0x80, 0, 0,   0,   0, 0,  0, 0,  0x80, 1, 101, 201, 1, 0,  2, 1,
                    0x80, 2, 102, 202, 1, 32, 4, 3,  0x80, 0, 0,   0,   1, 33, 1, 3,
                    0x80, 0, 0,   0,   1, 34, 8, 4,  0x80, 0, 0,   0,   5, 39, 1, 9,
                    0x80, 0, 0,   0,   7, 0,  0, 11, 0x80, 0, 0,   0,   6, 40, 0, 10,
                    0x80, 0, 0,   0,   8, 42, 0, 12, 0x80, 0, 0,   0,   9, 43, 0, 13}));
}

void TestBlocks::macroNumberingAndLoopModes()
{
    ProfileStore s;
    auto &b = s.profiles[0].buttons;
    b[0] = macroEntry("A", 0, 300); // 300 loops: 2C 01
    b[1] = macroEntry("B", 1);
    b[2] = macroEntry("A", 2);
    b[3] = macroEntry("C", 0, 7, 510);
    b[40] = macroEntry("D", 0, 2);
    MacroNumberTable table;
    table.number("Stale"); // the table is rebuilt, not extended
    const ButtonBlock block = buildButtonBlock(s, buttons(5), table);
    QCOMPARE(table.names(), (QStringList{"A", "B", "C", "D"}));
    QCOMPARE(codeAt(block, 0), (Bytes{0x91, 0x00, 0x2C, 0x01}));
    QCOMPARE(codeAt(block, 1), (Bytes{0x91, 0x81, 0xFF, 0xFF}));
    QCOMPARE(codeAt(block, 2), (Bytes{0x91, 0x40, 0xFF, 0xFF}));
    QCOMPARE(codeAt(block, 3), (Bytes{0x9D, 0x02, 0x07, 0x00}));
    QCOMPARE(codeAt(block, 22), (Bytes{0x91, 0x03, 0x02, 0x00}));
    QCOMPARE((Bytes{b[0].Res4, b[1].Res4, b[2].Res4, b[3].Res4, b[40].Res4}),
             (Bytes{0, 1, 0, 2, 3}));
}

void TestBlocks::sniperByte_data()
{
    QTest::addColumn<int>("sensor");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("3104 value") << 3104 << 17 << 17;
    QTest::newRow("3212 value") << 3212 << 40 << 40;
    QTest::newRow("3389 value") << 3389 << 200 << 200;
    QTest::newRow("3325 from T2") << 3325 << 10 << 22;
    QTest::newRow("3327 from T3") << 3327 << 10 << 24;
    QTest::newRow("3335 from T1") << 3335 << 10 << 11;
    QTest::newRow("3360 value less one") << 3360 << 10 << 9;
    QTest::newRow("3360 zero stays zero") << 3360 << 0 << 0;
    QTest::newRow("other sensor") << 3395 << 10 << 4;
    QTest::newRow("3325 value past T2") << 3325 << 255 << 115;
    QTest::newRow("3327 value past T3") << 3327 << 200 << 140;
    QTest::newRow("3335 value past T1") << 3335 << 255 << 188;
}

void TestBlocks::sniperByte()
{
    QFETCH(int, sensor);
    QFETCH(int, value);
    QFETCH(int, expected);
    ProfileStore s;
    s.profiles[0].buttons[1].Fun = 55;
    s.profiles[0].buttons[1].Res1 = uint8_t(value);
    ProductSwitches p = buttons(2);
    p.sensorCode = sensor;
    MacroNumberTable table;
    QCOMPARE(codeAt(buildButtonBlock(s, p, table), 1), (Bytes{0x9A, 0x01, expected, expected}));
}

void TestBlocks::damagedSlotMapIsNotUsedAsAnIndex()
{
    ProfileStore s;
    for (int i = 0; i < 40; ++i)
        s.profiles[0].buttons[size_t(i)] = macroEntry(QString("M%1").arg(i));
    ProductSwitches p;
    p.buttonCount = 40; // more than the sixteen the map describes
    p.slotMap.fill(255);
    p.slotMap[3] = 24; // one past the last slot
    p.slotMap[4] = 7;
    MacroNumberTable table;
    const ButtonBlock block = buildButtonBlock(s, p, table);
    // Only entry 4 has a slot the mouse has; entries without one number no macro.
    QCOMPARE(table.names(), QStringList{"M4"});
    QCOMPARE(codeAt(block, 7), (Bytes{0x91, 0x00, 0x01, 0x00}));
    QCOMPARE(bytes(block.data() + 98, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

void TestBlocks::packing_data()
{
    QTest::addColumn<Actions>("actions");
    QTest::addColumn<Bytes>("expected");
    const MacroAction a = macro::keyPress(4), r = macro::keyRelease(4);
    const MacroAction left5 = macro::move(-5, 0); // 02 00 FB: the low byte goes second
    QTest::newRow("four actions end with two delays")
        << Actions{a, r, a, r}
        << Bytes{0x84, 4, 0, 4, 4, 0, 0x84, 4, 0, 4, 4, 0, 6, 1, 0, 6, 1, 0, 0};
    QTest::newRow("empty macro") << Actions{} << Bytes{6, 1, 0, 0};
    QTest::newRow("byte order") << Actions{left5} << Bytes{2, 0xFB, 0, 6, 1, 0, 0};
    QTest::newRow("with a delay: unchanged")
        << Actions{a, macro::delayCount(300), r} << Bytes{0x84, 4, 0, 6, 0x2C, 0x01, 4, 4, 0, 0};
    QTest::newRow("0x86 is no delay")
        << Actions{MacroAction{0x86, 0, 1}} << Bytes{0x86, 1, 0, 6, 1, 0, 0};
}

void TestBlocks::packing()
{
    QFETCH(Actions, actions);
    QFETCH(Bytes, expected);
    const PackedMacro p = packMacro(actions);
    QCOMPARE(bytes(p.data(), expected.size()), expected);
    QCOMPARE(bytes(p.data() + expected.size(), int(p.size()) - expected.size()),
             Bytes(int(p.size()) - expected.size(), 0));
}

void TestBlocks::longMacroIsCutAtTheSlotsEnd()
{
    Actions actions;
    for (int i = 0; i < 63; ++i)
        actions.append(MacroAction{uint8_t(0x84), 0, uint8_t(i)});
    const PackedMacro p = packMacro(actions);
    // 63 actions and 16 delays take 237 bytes; the slot holds the first 200: 66 whole triples,
    // the last being action 52, then the first two bytes of action 53.
    QCOMPARE(bytes(p.data() + 180, 20), (Bytes{0x84, 48, 0, 0x84, 49, 0,    0x84, 50, 0, 0x84,
                                               51,   0,  6, 1,    0,  0x84, 52,   0,  0x84, 53}));
}

void TestBlocks::macroFit_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("withDelay");
    QTest::addColumn<int>("packedBytes");
    QTest::addColumn<int>("bytesCut");
    QTest::addColumn<int>("actionsCut");
    // Without delays n actions pack to n + n / 4 + 1 triples.
    QTest::newRow("52 actions fill 198 bytes") << 52 << false << 198 << 0 << 0;
    QTest::newRow("53 actions: the last inserted delay is cut") << 53 << false << 201 << 1 << 0;
    QTest::newRow("54 actions: the last one is cut into") << 54 << false << 204 << 4 << 1;
    QTest::newRow("63 actions") << 63 << false << 237 << 37 << 10;
    QTest::newRow("63 with a delay fit") << 63 << true << 189 << 0 << 0;
    QTest::newRow("70 with a delay: seven are never read") << 70 << true << 189 << 0 << 7;
}

void TestBlocks::macroFit()
{
    QFETCH(int, count);
    QFETCH(bool, withDelay);
    QFETCH(int, bytesCut);
    QFETCH(int, actionsCut);
    Actions actions(count, macro::keyPress(4));
    if (withDelay)
        actions[0] = macro::delayCount(3);
    const MacroFit fit = mc::macroFit(actions);
    QTEST(fit.packedBytes, "packedBytes");
    QCOMPARE(fit.bytesCut, bytesCut);
    QCOMPARE(fit.actionsCut, actionsCut);
    QCOMPARE(fit.fits(), bytesCut == 0 && actionsCut == 0);
}

void TestBlocks::missingAndHostileMacroFilesPackAsEmpty()
{
    QTemporaryDir dir;
    setAppDir(dir.path());
    QDir().mkpath(macroDir());
    { // a file outside the macro folder that a crafted name would reach
        QSettings outside(configDir() + "/evil.MSMACRO", QSettings::IniFormat);
        outside.setValue("Setting/Count", 1);
        outside.setValue("Setting/Map_0", 0x84);
    }
    ProfileStore s;
    s.profiles[0].buttons[0] = macroEntry("NoSuchMacro");
    s.profiles[0].buttons[1] = macroEntry("../evil");
    MacroNumberTable table;
    table.number("NoSuchMacro");
    table.number("../evil"); // even numbered, a crafted name reads no file
    const MacroUploadPlan plan = planMacroUpload(s, table);
    QVERIFY(plan.filled[0] && !plan.filled[1]);
    QCOMPARE(bytes(plan.area.data(), 4), (Bytes{6, 1, 0, 0}));
    QCOMPARE(bytes(plan.area.data() + 200, 200), Bytes(200, 0));
}

void TestBlocks::moreMacrosThanSlotsPackNothing()
{
    ProfileStore s;
    MacroNumberTable table;
    for (int i = 0; i < 13; ++i) {
        s.profiles[0].buttons[size_t(i)] = macroEntry(QString("M%1").arg(i));
        table.number(QString("M%1").arg(i));
    }
    QTest::ignoreMessage(QtDebugMsg, "more macros than the mouse has slots (12); none is sent");
    const MacroUploadPlan plan = planMacroUpload(s, table);
    QVERIFY(plan.tooMany);
    QVERIFY(macroUploadReports(plan).empty());
}

QTEST_GUILESS_MAIN(TestBlocks)
#include "test_blocks.moc"
