// Assignment rules: keep one click, a macro needs a macro, dialog presets and what each accepted
// dialog writes, including the macro copied from its file.
#include "buttons/assignment.h"
#include "buttons/catalogue.h"
#include "macro/macrofile.h"
#include "macro/macrolist.h"
#include "profile/paths.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;

namespace {

ProfileData profileWithClickAt(std::initializer_list<int> clicks)
{
    ProfileData p;
    for (int i = 0; i < kButtonCount; ++i)
        p.buttons[i].Fun = fun::kMiddle;
    for (int i : clicks)
        p.buttons[i].Fun = fun::kLeft;
    return p;
}

Macro macroOf(int actions)
{
    Macro m;
    for (int i = 0; i < actions; ++i)
        m.actions << MacroAction{uint8_t(0x84), uint8_t(i % 7), uint8_t(i)};
    return m;
}

} // namespace

class TestAssignment : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void keepOneClick_data();
    void keepOneClick();
    void everyApplyKeepsTheLastClick();
    void plainCodeLeavesOtherFieldsAlone();
    void choicesThatNeedDialogsOrAreRefused_data();
    void choicesThatNeedDialogsOrAreRefused();
    void macroChoiceNeedsAMacro();
    void macroCopiesTheFirst63Actions();
    void macroWithMissingFileOrNoNameHasNoActions();
    void macroWithUnsafeNameIsRefused();
    void macroPresetAndDeviceCode();
    void fireKey();
    void fireKeyPreset_data();
    void fireKeyPreset();
    void comboKeyReplacesTheWholeSequence();
    void singleKeyAndSniper();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestAssignment::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    setAppDir(m_dir->path());
}

void TestAssignment::keepOneClick_data()
{
    QTest::addColumn<QVector<int>>("clicks");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("outcome");
    const int applied = int(AssignOutcome::Applied);
    const int refused = int(AssignOutcome::KeepOneClick);
    QTest::newRow("only click to right") << QVector<int>{0} << 0 << fun::kRight << refused;
    QTest::newRow("only click to off") << QVector<int>{0} << 0 << fun::kButtonOff << refused;
    QTest::newRow("only click to left again") << QVector<int>{0} << 0 << fun::kLeft << applied;
    QTest::newRow("only click, other entry") << QVector<int>{0} << 3 << fun::kRight << applied;
    QTest::newRow("two clicks, first") << QVector<int>{0, 7} << 0 << fun::kRight << applied;
    QTest::newRow("two clicks, second") << QVector<int>{0, 7} << 7 << fun::kRight << applied;
    QTest::newRow("click on the wheel counts") << QVector<int>{0, 41} << 0 << 18 << applied;
    QTest::newRow("only click on the wheel") << QVector<int>{41} << 41 << 52 << refused;
}

void TestAssignment::keepOneClick()
{
    QFETCH(QVector<int>, clicks);
    QFETCH(int, entry);
    QFETCH(int, code);
    QFETCH(int, outcome);
    ProfileData p = profileWithClickAt({});
    for (int i : clicks)
        p.buttons[i].Fun = fun::kLeft;
    const ProfileData before = p;
    QCOMPARE(int(chooseFunction(p, entry, code, 1)), outcome);
    if (outcome == int(AssignOutcome::Applied))
        QCOMPARE(p.buttons[entry].Fun, code);
    else
        QVERIFY(p == before);
}

void TestAssignment::everyApplyKeepsTheLastClick()
{
    ProfileData p = profileWithClickAt({0});
    const ProfileData before = p;
    QCOMPARE(applySingleKey(p, 0, 46), AssignOutcome::KeepOneClick);
    QCOMPARE(applyComboKey(p, 0, ComboKeys()), AssignOutcome::KeepOneClick);
    QCOMPARE(applyFireKey(p, 0, FireKeyChoice()), AssignOutcome::KeepOneClick);
    QCOMPARE(applySniper(p, 0, 3), AssignOutcome::KeepOneClick);
    QCOMPARE(applyMacro(p, 0, MacroChoice()), AssignOutcome::KeepOneClick);
    QVERIFY(p == before);
}

void TestAssignment::plainCodeLeavesOtherFieldsAlone()
{
    ProfileData p = profileWithClickAt({0});
    ButtonInfo &b = p.buttons[5];
    b.ID = 77;
    b.Fun = fun::kMacro;
    b.LoopNumber = 4;
    b.KeyNumber = 2;
    b.KeyInfo[0] = {0x84, 4, 0};
    b.Res1 = 1;
    b.Res2 = 2;
    b.Res3 = 3;
    b.Res4 = 9;
    b.macroname = "keep";
    ButtonInfo expected = b;
    expected.Fun = 39;
    QCOMPARE(chooseFunction(p, 5, 39, 0), AssignOutcome::Applied);
    QVERIFY(p.buttons[5] == expected);
}

void TestAssignment::choicesThatNeedDialogsOrAreRefused_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("outcome");
    for (int code : {fun::kSingleKey, fun::kComboKey, fun::kFireKey, fun::kSniper, fun::kMacro})
        QTest::addRow("dialog for %d", code) << 3 << code << int(AssignOutcome::OpenDialog);
    for (int code : {13, 60, 61, fun::kGunFile, 0, 8, 999})
        QTest::addRow("not offered %d", code) << 3 << code << int(AssignOutcome::Unchanged);
    for (int entry : {-1, kButtonCount, 1000})
        QTest::addRow("entry %d", entry) << entry << 18 << int(AssignOutcome::Unchanged);
}

void TestAssignment::choicesThatNeedDialogsOrAreRefused()
{
    QFETCH(int, entry);
    QFETCH(int, code);
    QFETCH(int, outcome);
    ProfileData p = profileWithClickAt({0});
    const ProfileData before = p;
    QCOMPARE(int(chooseFunction(p, entry, code, 2)), outcome);
    QVERIFY(p == before);
}

void TestAssignment::macroChoiceNeedsAMacro()
{
    ProfileData p = profileWithClickAt({0});
    QCOMPARE(chooseFunction(p, 3, fun::kMacro), AssignOutcome::GoToMacroTab);
    QCOMPARE(int(kMacroTabIndex), 3);
    // An entry naming a file outside the folder is no usable macro.
    QSettings(appSettingsFile(), QSettings::IniFormat).setValue("MACRO_LIST/0", "../evil");
    QCOMPARE(chooseFunction(p, 3, fun::kMacro), AssignOutcome::GoToMacroTab);
    QVERIFY(addToMacroList("M1") >= 0);
    QCOMPARE(chooseFunction(p, 3, fun::kMacro), AssignOutcome::OpenDialog);
    QCOMPARE(p.buttons[3].Fun, fun::kMiddle);
}

void TestAssignment::macroCopiesTheFirst63Actions()
{
    QVERIFY(saveMacro("long", macroOf(70)));
    ProfileData p = profileWithClickAt({0});
    p.buttons[3].KeyInfo.fill({9, 9, 9});
    QCOMPARE(applyMacro(p, 3, {"long", 7, kLoopCount}), AssignOutcome::Applied);
    const ButtonInfo &b = p.buttons[3];
    QCOMPARE(b.Fun, fun::kMacro);
    QCOMPARE(b.KeyNumber, 70);
    QCOMPARE(b.LoopNumber, 7);
    QCOMPARE(b.macroname, QString("long"));
    // map, low, high = Map, DataL, DataH
    QCOMPARE(b.KeyInfo[0], (KeyInfo{0x84, 0, 0}));
    QCOMPARE(b.KeyInfo[8], (KeyInfo{0x84, 8, 1}));
    QCOMPARE(b.KeyInfo[62], (KeyInfo{0x84, 62, 62 % 7}));

    QVERIFY(saveMacro("short", macroOf(2)));
    QCOMPARE(applyMacro(p, 3, {"short", 1, kLoopCount}), AssignOutcome::Applied);
    QCOMPARE(b.KeyNumber, 2);
    QCOMPARE(b.KeyInfo[2], KeyInfo()); // nothing of the longer macro lingers
    QCOMPARE(b.KeyInfo[62], KeyInfo());
}

void TestAssignment::macroWithMissingFileOrNoNameHasNoActions()
{
    ProfileData p = profileWithClickAt({0});
    p.buttons[3].KeyInfo[0] = {1, 2, 3};
    QCOMPARE(applyMacro(p, 3, {"gone", 1, kLoopCount}), AssignOutcome::Applied);
    QCOMPARE(p.buttons[3].Fun, fun::kMacro);
    QCOMPARE(p.buttons[3].KeyNumber, 0);
    QCOMPARE(p.buttons[3].KeyInfo[0], KeyInfo());
    QCOMPARE(applyMacro(p, 4, MacroChoice()), AssignOutcome::Applied);
    QCOMPARE(p.buttons[4].Fun, fun::kMacro);
    QVERIFY(p.buttons[4].macroname.isEmpty());
}

void TestAssignment::macroWithUnsafeNameIsRefused()
{
    ProfileData p = profileWithClickAt({0});
    const ProfileData before = p;
    for (const char *name : {"../Config", "a/b", "a\\b", ".."})
        QCOMPARE(applyMacro(p, 3, {name, 1, 0}), AssignOutcome::InvalidName);
    QVERIFY(p == before);
}

void TestAssignment::macroPresetAndDeviceCode()
{
    ProfileData p = profileWithClickAt({0});
    QVERIFY(saveMacro("M", macroOf(1)));
    QCOMPARE(macroPreset(p.buttons[3]).name, QString()); // not a macro entry: defaults
    QCOMPARE(macroPreset(p.buttons[3]).loopCount, 1);
    QCOMPARE(applyMacro(p, 3, {"M", 5, kLoopWhileHeld}), AssignOutcome::Applied);
    const MacroChoice preset = macroPreset(p.buttons[3]);
    QCOMPARE(preset.name, QString("M"));
    QCOMPARE(preset.loopCount, 5);
    QCOMPARE(int(preset.loopMode), int(kLoopWhileHeld));
    QCOMPARE(DeviceCode(p.buttons[3], 3), (std::array<uint8_t, 4>{0x91, 0x83, 0xFF, 0xFF}));
    QCOMPARE(applyMacro(p, 3, {"M", 900, 7}), AssignOutcome::Applied); // clamped
    QCOMPARE(p.buttons[3].LoopNumber, 255);
    QCOMPARE(int(p.buttons[3].Res1), int(kLoopCount));
}

void TestAssignment::fireKey()
{
    ProfileData p = profileWithClickAt({0});
    FireKeyChoice c;
    c.source = FireKeyChoice::Left;
    c.times = 5;
    c.delay = 120;
    QCOMPARE(applyFireKey(p, 3, c), AssignOutcome::Applied);
    QCOMPARE(int(p.buttons[3].Res1), 0x81);
    QCOMPARE(p.buttons[3].LoopNumber, 5);
    QCOMPARE(p.buttons[3].KeyNumber, 120);
    QCOMPARE(DeviceCode(p.buttons[3]), (std::array<uint8_t, 4>{0x99, 0x81, 0x05, 0x0C}));

    c.source = FireKeyChoice::Keyboard;
    c.keyCode = 30; // A
    QCOMPARE(applyFireKey(p, 3, c), AssignOutcome::Applied);
    QCOMPARE(int(p.buttons[3].Res1), 0x04);
    c.keyCode = 0; // no key captured: the empty fire key
    QCOMPARE(applyFireKey(p, 3, c), AssignOutcome::Applied);
    QCOMPARE(DeviceCode(p.buttons[3]), (std::array<uint8_t, 4>{0x99, 0x81, 0x03, 0x00}));
    c.source = FireKeyChoice::Middle;
    c.times = 1000;
    c.delay = 99999;
    QCOMPARE(applyFireKey(p, 3, c), AssignOutcome::Applied);
    QCOMPARE(int(p.buttons[3].Res1), 0x84);
    QCOMPARE(p.buttons[3].LoopNumber, 255);
    QCOMPARE(p.buttons[3].KeyNumber, 2550);
}

void TestAssignment::fireKeyPreset_data()
{
    QTest::addColumn<int>("fun");
    QTest::addColumn<int>("res1");
    QTest::addColumn<int>("loops");
    QTest::addColumn<int>("delay");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("shownDelay");
    QTest::newRow("empty fire key") << 12 << 0 << 0 << 0 << 0 << 0 << 3 << 10;
    QTest::newRow("right") << 12 << 0x82 << 4 << 50 << 1 << 0 << 4 << 50;
    QTest::newRow("middle") << 12 << 0x84 << 4 << 50 << 2 << 0 << 4 << 50;
    QTest::newRow("key A") << 12 << 0x04 << 2 << 30 << 3 << 30 << 2 << 30;
    QTest::newRow("not a fire key") << 18 << 0x82 << 4 << 50 << 0 << 0 << 3 << 10;
    QTest::newRow("damaged counts") << 12 << 0x81 << 5000 << -4 << 0 << 0 << 255 << 0;
}

void TestAssignment::fireKeyPreset()
{
    QFETCH(int, fun);
    QFETCH(int, res1);
    QFETCH(int, loops);
    QFETCH(int, delay);
    ButtonInfo b;
    b.Fun = fun;
    b.Res1 = uint8_t(res1);
    b.LoopNumber = loops;
    b.KeyNumber = delay;
    const FireKeyChoice c = mc::fireKeyPreset(b);
    QTEST(int(c.source), "source");
    QTEST(int(c.keyCode), "keyCode");
    QTEST(c.times, "times");
    QTEST(c.delay, "shownDelay");
}

void TestAssignment::comboKeyReplacesTheWholeSequence()
{
    ProfileData p = profileWithClickAt({0});
    p.buttons[3].KeyInfo.fill({0x84, 1, 2}); // a macro's actions before
    ComboKeys k;
    k.iComboKey = {0, 1, 0, 0, 1};
    k.iHotKeyCode[4][0] = 46;
    QCOMPARE(applyComboKey(p, 3, k), AssignOutcome::Applied);
    QCOMPARE(p.buttons[3].Fun, fun::kComboKey);
    QCOMPARE(p.buttons[3].KeyInfo[3], (KeyInfo{0xE0, 5, 0}));
    QCOMPARE(p.buttons[3].KeyInfo[4], KeyInfo());
    QCOMPARE(p.buttons[3].KeyInfo[62], KeyInfo());
    QVERIFY(comboKeyPreset(p.buttons[3]) == k);
    QVERIFY(comboKeyPreset(p.buttons[1]) == ComboKeys());
}

void TestAssignment::singleKeyAndSniper()
{
    ProfileData p = profileWithClickAt({0});
    QCOMPARE(applySingleKey(p, 40, 238), AssignOutcome::Applied);
    QCOMPARE(p.buttons[40].Fun, fun::kSingleKey);
    QCOMPARE(int(singleKeyPreset(p.buttons[40])), 238);
    QCOMPARE(DeviceCode(p.buttons[40]), (std::array<uint8_t, 4>{0x90, 0, 0xE4, 0}));
    QCOMPARE(applySniper(p, 41, 5), AssignOutcome::Applied);
    QCOMPARE(int(sniperPreset(p.buttons[41])), 5);
    QCOMPARE(int(sniperPreset(p.buttons[40])), 0);
    QCOMPARE(applySingleKey(p, 42, 1), AssignOutcome::Unchanged);
}

QTEST_GUILESS_MAIN(TestAssignment)
#include "test_assignment.moc"
