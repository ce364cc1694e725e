// Macro packing and the upload plan: the delay insertion rule, whole actions only, which
// macros are read and packed (each once, only those the button block numbered), hostile names,
// too many macros, and the packets of the macro area.
#include "device/macroupload.h"
#include "macro/macrofile.h"
#include "profile/paths.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;

using Bytes = QVector<int>;
using Actions = QVector<MacroAction>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(Actions)

namespace {

Bytes head(const PackedMacro &p, int n)
{
    Bytes b;
    for (int i = 0; i < n; ++i)
        b.append(p[size_t(i)]);
    return b;
}

bool zeroFrom(const uint8_t *begin, const uint8_t *end)
{
    return std::all_of(begin, end, [](uint8_t v) { return v == 0; });
}

MacroAction key(int usage, bool press = true)
{
    return press ? macro::keyPress(uint8_t(usage)) : macro::keyRelease(uint8_t(usage));
}

ButtonInfo macroEntry(const QString &name)
{
    ButtonInfo e;
    e.Fun = 200;
    e.macroname = name;
    return e;
}

} // namespace

class TestMacroUpload : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void packing_data();
    void packing();
    void longMacroKeepsWholeActionsOnly();
    void sharedMacroIsPackedOnce();
    void macroOfOtherSlotsOnlyIsNotUploaded();
    void emptyTableSendsNothing();
    void missingAndHostileFilesPackAsEmpty();
    void tooManyMacrosSendNothing();
    void packetsOfTheFilledSlots();

private:
    QTemporaryDir m_dir;
};

void TestMacroUpload::init()
{
    QVERIFY(m_dir.isValid());
    setAppDir(m_dir.path());
    QDir(macroDir()).removeRecursively();
    QVERIFY(QDir().mkpath(macroDir()));
}

void TestMacroUpload::packing_data()
{
    QTest::addColumn<Actions>("actions");
    QTest::addColumn<Bytes>("expected");
    const MacroAction a1 = key(4), a2 = key(4, false), a3 = key(5), a4 = key(5, false);
    const MacroAction a5 = macro::move(-5, 0); // 02 00 FB: low byte FB goes second
    QTest::newRow("five actions") << Actions{a1, a2, a3, a4, a5}
                                  << Bytes{0x84, 4, 0, 4, 4, 0,    0x84, 5, 0, 4, 5,
                                           0,    6, 1, 0, 2, 0xFB, 0,    6, 1, 0, 0};
    QTest::newRow("four actions end with two delays")
        << Actions{a1, a2, a3, a4}
        << Bytes{0x84, 4, 0, 4, 4, 0, 0x84, 5, 0, 4, 5, 0, 6, 1, 0, 6, 1, 0, 0};
    QTest::newRow("empty macro") << Actions{} << Bytes{6, 1, 0, 0};
    QTest::newRow("one delay: sent unchanged")
        << Actions{a1, macro::delayCount(300), a2} << Bytes{0x84, 4, 0, 6, 0x2C, 0x01, 4, 4, 0, 0};
    QTest::newRow("a delayed press is no delay") // Map 0x86 is not the delay action 6
        << Actions{MacroAction{0x86, 0, 1}} << Bytes{0x86, 1, 0, 6, 1, 0, 0};
}

void TestMacroUpload::packing()
{
    QFETCH(Actions, actions);
    QFETCH(Bytes, expected);
    const PackedMacro p = packMacro(actions);
    QCOMPARE(head(p, expected.size()), expected);
    QVERIFY(zeroFrom(p.data() + expected.size(), p.data() + p.size()));
}

void TestMacroUpload::longMacroKeepsWholeActionsOnly()
{
    Actions actions;
    for (int i = 0; i < 63; ++i)
        actions.append(key(10 + i % 20, i % 2 == 0));
    const PackedMacro p = packMacro(actions);
    // 63 actions and 16 delays would take 237 bytes; 66 whole triples fit in 198.
    QCOMPARE(int(p[195]), int(actions[52].Map));
    QCOMPARE(int(p[196]), int(actions[52].DataL));
    QCOMPARE(int(p[198]), 0);
    QCOMPARE(int(p[199]), 0);
    for (int g = 0; g < 13; ++g) // a delay after every fourth action
        QCOMPARE(head(p, 15 * g + 15).mid(15 * g + 12), (Bytes{6, 1, 0}));
}

void TestMacroUpload::sharedMacroIsPackedOnce()
{
    QVERIFY(saveMacro("Shared", Macro{{}, {key(4), key(4, false)}}));
    QVERIFY(saveMacro("Second", Macro{{}, {key(5)}}));
    ProfileStore s;
    s.profiles[0].buttons[0] = macroEntry("Shared");
    s.profiles[0].buttons[1] = macroEntry("Shared");
    s.profiles[0].buttons[2] = macroEntry("Second");
    s.profiles[2].buttons[5] = macroEntry("Shared"); // again in another slot: already packed
    MacroNumberTable table;
    table.number("Shared");
    table.number("Second");
    const MacroUploadPlan plan = planMacroUpload(s, table);
    QVERIFY(!plan.tableWasEmpty && !plan.tooMany);
    QCOMPARE(int(std::count(plan.filled.begin(), plan.filled.end(), true)), 2);
    QVERIFY(plan.filled[0] && plan.filled[1]);
    QCOMPARE(int(plan.area[0]), 0x84);
    QCOMPARE(int(plan.area[200]), 0x84);
    QCOMPARE(int(plan.area[201]), 5);
    QCOMPARE(int(macroUploadReports(plan).size()), 21);
}

void TestMacroUpload::macroOfOtherSlotsOnlyIsNotUploaded()
{
    QVERIFY(saveMacro("InSlotZero", Macro{{}, {key(4)}}));
    QVERIFY(saveMacro("Elsewhere", Macro{{}, {key(6)}}));
    ProfileStore s;
    s.profiles[0].buttons[0] = macroEntry("InSlotZero");
    s.profiles[1].buttons[0] = macroEntry("Elsewhere");
    s.profiles[4].buttons[3] = macroEntry("Elsewhere");
    MacroNumberTable table;
    table.number("InSlotZero");
    const MacroUploadPlan plan = planMacroUpload(s, table);
    QCOMPARE(int(std::count(plan.filled.begin(), plan.filled.end(), true)), 1);
    QCOMPARE(int(plan.area[1]), 4);
    QVERIFY(zeroFrom(plan.area.data() + 200, plan.area.data() + plan.area.size()));
}

void TestMacroUpload::emptyTableSendsNothing()
{
    ProfileStore s;
    s.profiles[1].buttons[0] = macroEntry("Elsewhere");
    const MacroUploadPlan plan = planMacroUpload(s, MacroNumberTable());
    QVERIFY(plan.tableWasEmpty);
    QVERIFY(macroUploadReports(plan).empty());
}

void TestMacroUpload::missingAndHostileFilesPackAsEmpty()
{
    // A file outside the macro folder that a crafted name would reach.
    {
        QSettings outside(configDir() + "/evil.MSMACRO", QSettings::IniFormat);
        outside.setValue("Setting/Count", 1);
        outside.setValue("Setting/Map_0", 0x84);
        outside.setValue("Setting/DataL_0", 9);
    }
    ProfileStore s;
    s.profiles[0].buttons[0] = macroEntry("NoSuchMacro");
    s.profiles[0].buttons[1] = macroEntry("../evil");
    MacroNumberTable table;
    table.number("NoSuchMacro");
    table.number("../evil");
    const MacroUploadPlan plan = planMacroUpload(s, table);
    QVERIFY(plan.filled[0] && plan.filled[1]);
    QCOMPARE((Bytes{plan.area[0], plan.area[1], plan.area[2], plan.area[3]}), (Bytes{6, 1, 0, 0}));
    QCOMPARE((Bytes{plan.area[200], plan.area[201], plan.area[202], plan.area[203]}),
             (Bytes{6, 1, 0, 0}));
}

void TestMacroUpload::tooManyMacrosSendNothing()
{
    ProfileStore s;
    MacroNumberTable table;
    for (int i = 0; i < 13; ++i) {
        s.profiles[0].buttons[size_t(i)] = macroEntry(QString("M%1").arg(i));
        table.number(QString("M%1").arg(i));
    }
    QTest::ignoreMessage(QtDebugMsg, "iIndex>=MAX_MACRO_NUMBER_560\n");
    const MacroUploadPlan plan = planMacroUpload(s, table);
    QVERIFY(plan.tooMany);
    QVERIFY(macroUploadReports(plan).empty());
}

void TestMacroUpload::packetsOfTheFilledSlots()
{
    MacroUploadPlan plan;
    plan.filled[0] = true;
    plan.filled[11] = true;
    for (int i = 0; i < macroarea::kSize; ++i)
        plan.area[size_t(i)] = uint8_t(i * 7);
    const ReportList r = macroUploadReports(plan);
    QCOMPARE(int(r.size()), 21);
    for (int i = 0; i < 20; ++i) {
        const int slot = i < 10 ? 0 : 11;
        const int offset = slot * 200 + (i % 10) * 20;
        const frame::Report &p = r[size_t(i)];
        QCOMPARE(int(p[frame::kCommand]), 0x05);
        QCOMPARE(p[frame::kOffsetLow] | (p[frame::kOffsetHigh] << 8), offset);
        QCOMPARE(int(p[frame::kLength]), 20);
        QCOMPARE(int(p[frame::kPhase]), i == 0 ? 0xD1 : 0xD2);
        QVERIFY(std::equal(plan.area.begin() + offset, plan.area.begin() + offset + 20,
                           p.begin() + frame::kData));
    }
    QCOMPARE(r[20][frame::kOffsetLow] | (r[20][frame::kOffsetHigh] << 8), 0x0FFF);
    QCOMPARE(int(r[20][frame::kPhase]), 0xD3);
}

QTEST_GUILESS_MAIN(TestMacroUpload)
#include "test_macroupload.moc"
