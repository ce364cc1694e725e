// The button block: layout, the product's slot map and wheel swap, macro slot numbering and
// its note in Res4, the sniper byte per sensor, damaged slot maps, and the packets.
#include "device/buttonblock.h"

#include <QtTest>

using namespace mc;

using Bytes = QVector<int>;
Q_DECLARE_METATYPE(Bytes)

namespace {

Bytes codeAt(const ButtonBlock &b, int slot)
{
    const int at = buttonblock::kFirstSlot + 4 * slot;
    return {b[size_t(at)], b[size_t(at + 1)], b[size_t(at + 2)], b[size_t(at + 3)]};
}

ProductSwitches threeButtons()
{
    ProductSwitches p;
    p.buttonCount = 3;
    p.slotMap = {2, 0, 5};
    return p;
}

ProfileStore plainStore()
{
    ProfileStore s;
    auto &b = s.profiles[0].buttons;
    b[0].Fun = 1;
    b[1].Fun = 2;
    b[2].Fun = 3;
    b[40].Fun = 52;
    b[41].Fun = 53;
    return s;
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

} // namespace

class TestButtonBlock : public QObject
{
    Q_OBJECT

private slots:
    void layoutFollowsTheSlotMap();
    void wheelSlots_data();
    void wheelSlots();
    void macrosAreNumberedInOrderOfFirstUse();
    void rebuildingStartsANewTable();
    void sniperBytePerSensor_data();
    void sniperBytePerSensor();
    void damagedSlotMapIsNotUsedAsAnIndex();
    void packets();
};

void TestButtonBlock::layoutFollowsTheSlotMap()
{
    ProfileStore s = plainStore();
    s.profiles[0].buttons[3].Fun = 4; // beyond the button count: not sent
    s.profiles[1].buttons[0].Fun = 5; // other slots of the store are not sent
    MacroNumberTable table;
    const ButtonBlock b = buildButtonBlock(s, threeButtons(), table);

    Bytes expected(buttonblock::kSize, 0);
    expected[0] = 0x0A;
    for (int i = 98; i < 102; ++i)
        expected[i] = 0xFF;
    expected[2 + 4 * 2] = 0x81; // entry 0 at slot 2
    expected[2 + 4 * 0] = 0x82; // entry 1 at slot 0
    expected[2 + 4 * 5] = 0x83; // entry 2 at slot 5
    expected[90] = 0x8B;        // wheel up, slot 22
    expected[94] = 0x8C;        // wheel down, slot 23
    Bytes actual;
    for (uint8_t v : b)
        actual.append(v);
    QCOMPARE(actual, expected);
    QVERIFY(table.isEmpty());
}

void TestButtonBlock::wheelSlots_data()
{
    QTest::addColumn<int>("scrollRev");
    QTest::addColumn<int>("upOffset");
    QTest::newRow("normal") << 0 << 90;
    QTest::newRow("reversed") << 1 << 94;
    QTest::newRow("other values do not swap") << 2 << 90;
}

void TestButtonBlock::wheelSlots()
{
    QFETCH(int, scrollRev);
    QFETCH(int, upOffset);
    ProfileStore s = plainStore();
    ProductSwitches p = threeButtons();
    p.scrollRev = scrollRev;
    MacroNumberTable table;
    const ButtonBlock b = buildButtonBlock(s, p, table);
    QCOMPARE(int(b[size_t(upOffset)]), 0x8B);
    QCOMPARE(int(b[size_t(upOffset == 90 ? 94 : 90)]), 0x8C);
}

void TestButtonBlock::macrosAreNumberedInOrderOfFirstUse()
{
    ProfileStore s = plainStore();
    auto &b = s.profiles[0].buttons;
    ProductSwitches p;
    p.buttonCount = 5;
    p.slotMap = {0, 1, 2, 3, 4};
    b[0] = macroEntry("A", 0, 300); // 300 loops: 2C 01
    b[1] = macroEntry("B", 1);
    b[2] = macroEntry("A", 2);
    b[3] = macroEntry("C", 0, 7, 510);
    b[4].Fun = 1;
    b[40] = macroEntry("D", 0, 2);
    MacroNumberTable table;
    const ButtonBlock block = buildButtonBlock(s, p, table);

    QCOMPARE(table.names(), (QStringList{"A", "B", "C", "D"}));
    QCOMPARE(codeAt(block, 0), (Bytes{0x91, 0x00, 0x2C, 0x01}));
    QCOMPARE(codeAt(block, 1), (Bytes{0x91, 0x81, 0xFF, 0xFF}));
    QCOMPARE(codeAt(block, 2), (Bytes{0x91, 0x40, 0xFF, 0xFF}));
    QCOMPARE(codeAt(block, 3), (Bytes{0x9D, 0x02, 0x07, 0x00}));
    QCOMPARE(codeAt(block, 22), (Bytes{0x91, 0x03, 0x02, 0x00}));
    const int res4[] = {0, 1, 0, 2};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(int(b[size_t(i)].Res4), res4[i]);
    QCOMPARE(int(b[40].Res4), 3);
}

void TestButtonBlock::rebuildingStartsANewTable()
{
    ProfileStore s = plainStore();
    s.profiles[0].buttons[0] = macroEntry("New");
    MacroNumberTable table;
    table.number("Old");
    table.number("Older");
    buildButtonBlock(s, threeButtons(), table);
    QCOMPARE(table.names(), QStringList{"New"});
    QCOMPARE(table.slotOf("Old"), -1);
}

void TestButtonBlock::sniperBytePerSensor_data()
{
    QTest::addColumn<int>("sensor");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("3212 value") << 3212 << 40 << 40;
    QTest::newRow("3325 table") << 3325 << 10 << 22;
    QTest::newRow("3360 value less one") << 3360 << 10 << 9;
    QTest::newRow("other sensor") << 3395 << 10 << 4;
    QTest::newRow("value past the table") << 3327 << 250 << 140;
}

void TestButtonBlock::sniperBytePerSensor()
{
    QFETCH(int, sensor);
    QFETCH(int, value);
    QFETCH(int, expected);
    ProfileStore s = plainStore();
    s.profiles[0].buttons[1].Fun = 55;
    s.profiles[0].buttons[1].Res1 = uint8_t(value);
    ProductSwitches p = threeButtons();
    p.sensorCode = sensor;
    MacroNumberTable table;
    const ButtonBlock b = buildButtonBlock(s, p, table);
    QCOMPARE(codeAt(b, 0), (Bytes{0x9A, 0x01, expected, expected}));
}

void TestButtonBlock::damagedSlotMapIsNotUsedAsAnIndex()
{
    ProfileStore s = plainStore();
    auto &b = s.profiles[0].buttons;
    for (int i = 0; i < 40; ++i)
        b[size_t(i)] = macroEntry(QString("M%1").arg(i));
    ProductSwitches p;
    p.buttonCount = 40;  // more than the sixteen the map describes
    p.slotMap.fill(255); // no such slot
    p.slotMap[3] = 24;   // one past the last slot
    p.slotMap[4] = 7;
    MacroNumberTable table;
    const ButtonBlock block = buildButtonBlock(s, p, table);
    // Only entry 4 has a slot the mouse has; the entries without one number no macro.
    QCOMPARE(table.names(), QStringList{"M4"});
    QCOMPARE(codeAt(block, 7), (Bytes{0x91, 0x00, 0x01, 0x00}));
    QCOMPARE(int(block[98]), 0xFF);
    QCOMPARE(int(block[101]), 0xFF);
}

void TestButtonBlock::packets()
{
    ProfileStore s = plainStore();
    MacroNumberTable table;
    const ButtonBlock b = buildButtonBlock(s, threeButtons(), table);
    const ReportList r = buttonBlockReports(b);
    QCOMPARE(int(r.size()), 7);
    const int offsets[] = {0, 2, 26, 50, 74, 98};
    const int lengths[] = {2, 24, 24, 24, 24, 4};
    for (int i = 0; i < 6; ++i) {
        const frame::Report &p = r[size_t(i)];
        QCOMPARE(int(p[frame::kCommand]), 0x03);
        QCOMPARE(p[frame::kOffsetLow] | (p[frame::kOffsetHigh] << 8), offsets[i]);
        QCOMPARE(int(p[frame::kLength]), lengths[i]);
        QCOMPARE(int(p[frame::kPhase]), i == 0 ? 0xD1 : 0xD2);
        QVERIFY(std::equal(b.begin() + offsets[i], b.begin() + offsets[i] + lengths[i],
                           p.begin() + frame::kData));
    }
    QCOMPARE(int(r[6][frame::kPhase]), 0xD3);
    QCOMPARE(int(r[6][frame::kOffsetLow]), 0x7F);
    QCOMPARE(int(r[6][frame::kData]), 0x1A);
}

QTEST_GUILESS_MAIN(TestButtonBlock)
#include "test_buttonblock.moc"
