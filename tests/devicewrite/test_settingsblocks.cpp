// The general, DPI and lighting blocks: exact bytes from a store, the sensor-option variants,
// the lighting effect numbers, the stage count clamp, and the packets each block is cut into.
#include "device/settingsblocks.h"

#include <QtTest>

using namespace mc;

using Bytes = QVector<int>;
Q_DECLARE_METATYPE(Bytes)

namespace {

template <size_t N> Bytes toBytes(const std::array<uint8_t, N> &a)
{
    Bytes b;
    for (uint8_t v : a)
        b.append(v);
    return b;
}

struct Header
{
    int command, offset, length, phase;
};

Header headerOf(const frame::Report &r)
{
    return {r[frame::kCommand], r[frame::kOffsetLow] | (r[frame::kOffsetHigh] << 8),
            r[frame::kLength], r[frame::kPhase]};
}

Bytes dataOf(const frame::Report &r)
{
    Bytes b;
    for (int i = 0; i < r[frame::kLength]; ++i)
        b.append(r[size_t(frame::kData + i)]);
    return b;
}

void verifyClosing(const frame::Report &r, int command)
{
    const Header h = headerOf(r);
    QCOMPARE(h.command, command);
    QCOMPARE(h.offset, 0x7F);
    QCOMPARE(h.length, 1);
    QCOMPARE(h.phase, 0xD3);
    QCOMPARE(dataOf(r), Bytes{0x1A});
}

ProfileStore sampleStore()
{
    ProfileStore s;
    for (int i = 0; i < kSlotCount; ++i) {
        ProfileData &p = s.profiles[size_t(i)];
        p.scrollspeed = uint8_t(i + 1);
        p.pollrate = uint8_t(1 << i);
        p.LedMoveOFF = uint8_t(10 + i);
        p.LedSleepTime = uint8_t(20 + i);
        p.dpi = uint8_t(i);
        p.LedMode = uint8_t(i + 1);
    }
    s.ProfileID = 2;
    s.LiftHigh = 2;
    s.Debounce = 33;
    return s;
}

ProductSwitches product(int sensor, int dpiCount)
{
    ProductSwitches p;
    p.sensorCode = sensor;
    p.dpiCount = dpiCount;
    return p;
}

} // namespace

class TestSettingsBlocks : public QObject
{
    Q_OBJECT

private slots:
    void generalBlockBytes();
    void generalBlockHoldsSlotAndStageToTheMouse();
    void sensorOptionByte_data();
    void sensorOptionByte();
    void lightingEffectNumber_data();
    void lightingEffectNumber();
    void generalBlockPackets();
    void dpiBlockStageCount_data();
    void dpiBlockStageCount();
    void dpiBlockComesFromSlotZero();
    void dpiBlockPackets();
    void lightingBlockBytes();
    void lightingBlockPackets();
};

void TestSettingsBlocks::generalBlockBytes()
{
    const GeneralBlock b = buildGeneralBlock(sampleStore(), 0);
    // Wheel speeds 1..5, lift 2, slot 2, LedMoveOFF and LedSleepTime of slot 0, debounce, 1,
    // report intervals 1,2,4,8,16, 0x1F, stage of slot 2, effect of mode 3 (slot 3 + 1).
    QCOMPARE(toBytes(b), (Bytes{1, 2, 3, 4, 5, 2, 2, 10, 20, 33, 1, 1, 2, 4, 8, 16, 0x1F, 2, 4}));
}

void TestSettingsBlocks::generalBlockHoldsSlotAndStageToTheMouse()
{
    ProfileStore s = sampleStore();
    s.ProfileID = 9;         // damaged: read as slot 0
    s.profiles[0].dpi = 200; // damaged: stage 0
    s.profiles[0].LedMode = 1;
    const GeneralBlock b = buildGeneralBlock(s, 0);
    QCOMPARE(int(b[general::kActiveSlot]), 0);
    QCOMPARE(int(b[general::kActiveStage]), 0);
    QCOMPARE(int(b[general::kEffect]), 2);
}

void TestSettingsBlocks::sensorOptionByte_data()
{
    QTest::addColumn<int>("productSync");
    QTest::addColumn<int>("lift");
    QTest::addColumn<int>("sync");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("jitter");
    QTest::addColumn<int>("expected");
    QTest::newRow("variant 0 is the lift") << 0 << 2 << 1 << 0 << 0 << 2;
    QTest::newRow("variant 1 sync on") << 1 << 2 << 5 << 0 << 0 << 1;
    QTest::newRow("variant 1 sync off") << 1 << 2 << 0 << 0 << 0 << 0;
    QTest::newRow("variant 2 all on") << 2 << 1 << 1 << 0 << 0 << (1 | 0xE0);
    QTest::newRow("variant 2 all off") << 2 << 2 << 0 << 1 << 1 << 2;
    QTest::newRow("variant 2 sync only") << 2 << 1 << 1 << 1 << 1 << (1 | 0x80);
    QTest::newRow("variant 2 angle snapping only") << 2 << 1 << 0 << 0 << 1 << (1 | 0x40);
    QTest::newRow("variant 2 jitter only") << 2 << 1 << 0 << 1 << 0 << (1 | 0x20);
    QTest::newRow("unknown variant as 2") << 7 << 2 << 1 << 0 << 0 << (2 | 0xE0);
}

void TestSettingsBlocks::sensorOptionByte()
{
    QFETCH(int, productSync);
    QFETCH(int, lift);
    QFETCH(int, sync);
    QFETCH(int, angle);
    QFETCH(int, jitter);
    ProfileStore s;
    s.LiftHigh = uint8_t(lift);
    s.Sync = uint8_t(sync);
    s.AngleValue = uint8_t(angle);
    s.Jitter = uint8_t(jitter);
    QTEST(int(mc::sensorOptionByte(s, productSync)), "expected");
    QTEST(int(buildGeneralBlock(s, productSync)[general::kSensorOptions]), "expected");
}

void TestSettingsBlocks::lightingEffectNumber_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("expected");
    const int expected[kLedModeCount] = {1, 2, 3, 4, 5, 6, 6, 6, 6, 6, 8, 7, 9, 10};
    for (int m = 0; m < kLedModeCount; ++m)
        QTest::addRow("mode %d", m) << m << expected[m];
    QTest::newRow("mode 14 past the last") << 14 << 6;
    QTest::newRow("mode 200") << 200 << 6;
    QTest::newRow("negative") << -1 << 6;
}

void TestSettingsBlocks::lightingEffectNumber()
{
    QFETCH(int, mode);
    QTEST(int(mc::lightingEffectNumber(mode)), "expected");
}

void TestSettingsBlocks::generalBlockPackets()
{
    const ProfileStore s = sampleStore();
    const ReportList r = generalBlockReports(s, ProductSwitches{});
    QCOMPARE(int(r.size()), 2);
    const Header h = headerOf(r[0]);
    QCOMPARE(h.command, 0x01);
    QCOMPARE(h.offset, 0);
    QCOMPARE(h.length, 19);
    QCOMPARE(h.phase, 0xD1);
    QCOMPARE(dataOf(r[0]), toBytes(buildGeneralBlock(s, 0)));
    QCOMPARE(int(r[0][frame::kReportId]), 5);
    QCOMPARE(int(r[0][frame::kMark]), 0xFA);
    verifyClosing(r[1], 0x01);
}

void TestSettingsBlocks::dpiBlockStageCount_data()
{
    QTest::addColumn<int>("dpiCount");
    QTest::addColumn<int>("sent");
    QTest::newRow("zero counts as eight") << 0 << 8;
    QTest::newRow("nine counts as eight") << 9 << 8;
    QTest::newRow("negative counts as eight") << -4 << 8;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("eight") << 8 << 8;
}

void TestSettingsBlocks::dpiBlockStageCount()
{
    QFETCH(int, dpiCount);
    QFETCH(int, sent);
    ProfileStore s;
    for (DpiStage &st : s.profiles[0].stages)
        st.used = 1;
    const DpiBlock b = buildDpiBlock(s, product(0, dpiCount));
    QCOMPARE(int(b[dpi::kCount]), sent);
    for (int i = 0; i < kStageCount; ++i)
        QCOMPARE(int(b[size_t(dpi::kFirstStage + 5 * i)]), i < sent ? 1 : 0);
}

void TestSettingsBlocks::dpiBlockComesFromSlotZero()
{
    ProfileStore s;
    s.ProfileID = 3;
    for (int i = 0; i < kStageCount; ++i) {
        DpiStage &st = s.profiles[0].stages[size_t(i)];
        st.used = i % 2;
        st.x = uint32_t(10 + i);
        st.y = uint32_t(100 + i);
        s.profiles[3].stages[size_t(i)] = DpiStage{1, 1, 50, 50, 50};
    }
    const DpiBlock b = buildDpiBlock(s, product(3212, 8));
    Bytes expected{8};
    for (int i = 0; i < kStageCount; ++i) // 3212: x below 64 direct, y above 94 minus 63
        expected << i % 2 << 10 + i << 0 << 100 + i - 63 << 2;
    QCOMPARE(toBytes(b), expected);
}

void TestSettingsBlocks::dpiBlockPackets()
{
    ProfileStore s;
    s.profiles[0].stages[7] = DpiStage{1, 0, 0, 64, 95};
    const ReportList r = dpiBlockReports(s, product(3212, 0));
    QCOMPARE(int(r.size()), 10);
    QCOMPARE(headerOf(r[0]).phase, 0xD1);
    QCOMPARE(headerOf(r[0]).length, 1);
    QCOMPARE(dataOf(r[0]), Bytes{8});
    for (int i = 0; i < kStageCount; ++i) {
        const Header h = headerOf(r[size_t(1 + i)]);
        QCOMPARE(h.command, 0x02);
        QCOMPARE(h.offset, 5 * i + 1);
        QCOMPARE(h.length, 5);
        QCOMPARE(h.phase, 0xD2);
    }
    QCOMPARE(dataOf(r[8]), (Bytes{1, 32, 1, 32, 2}));
    verifyClosing(r[9], 0x02);
}

void TestSettingsBlocks::lightingBlockBytes()
{
    ProfileStore s;
    s.ProfileID = 1;
    for (int k = 0; k < kLedModeCount; ++k) {
        LedModeInfo &l = s.profiles[0].leds[size_t(k)];
        l.color = QColor(k, 100 + k, 200 + k);
        l.bright = uint32_t(0x100 + k); // only the low byte travels
        l.breath = uint32_t(30 + k);
        s.profiles[1].leds[size_t(k)] = LedModeInfo{QColor(9, 9, 9), 1, 1, 1, 99, 99};
    }
    const LightingBlock b = buildLightingBlock(s);
    const Bytes expected{
        0x80, 0, 0,   0,   0, 0,  0, 0,  //
        0x80, 1, 101, 201, 1, 0,  2, 1,  // mode 1: colour and brightness
        0x80, 2, 102, 202, 1, 32, 4, 3,  // mode 2: colour and speed
        0x80, 0, 0,   0,   1, 33, 1, 3,  // mode 3: speed
        0x80, 0, 0,   0,   1, 34, 8, 4,  // mode 4
        0x80, 0, 0,   0,   5, 39, 1, 9,  // mode 9
        0x80, 0, 0,   0,   7, 0,  0, 11, // mode 11: brightness only
        0x80, 0, 0,   0,   6, 40, 0, 10, // mode 10
        0x80, 0, 0,   0,   8, 42, 0, 12, // mode 12
        0x80, 0, 0,   0,   9, 43, 0, 13, // mode 13
    };
    QCOMPARE(toBytes(b), expected);
}

void TestSettingsBlocks::lightingBlockPackets()
{
    ProfileStore s;
    const LightingBlock b = buildLightingBlock(s);
    const ReportList r = lightingBlockReports(s);
    QCOMPARE(int(r.size()), 5);
    const int offsets[] = {0, 24, 48, 72};
    const int lengths[] = {24, 24, 24, 8};
    for (int i = 0; i < 4; ++i) {
        const Header h = headerOf(r[size_t(i)]);
        QCOMPARE(h.command, 0x04);
        QCOMPARE(h.offset, offsets[i]);
        QCOMPARE(h.length, lengths[i]);
        QCOMPARE(h.phase, i == 0 ? 0xD1 : 0xD2);
        QCOMPARE(dataOf(r[size_t(i)]), toBytes(b).mid(offsets[i], lengths[i]));
    }
    verifyClosing(r[4], 0x04);
}

QTEST_GUILESS_MAIN(TestSettingsBlocks)
#include "test_settingsblocks.moc"
