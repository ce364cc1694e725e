// Macro action encoding: delays in units, movements as signed bytes, the press convention.
#include "macro/macroaction.h"
#include "profile/paths.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;
Q_DECLARE_METATYPE(mc::MacroAction)

class TestMacroAction : public QObject
{
    Q_OBJECT

private slots:
    void delays_data();
    void delays();
    void moves_data();
    void moves();
    void movementBytesReadBackAsSignedSteps();
    void pressConventionIsTheSameForKeysAndButtons();
    void delayUnitFromTheProduct();
};

void TestMacroAction::delays_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("unit");
    QTest::addColumn<MacroAction>("action");
    QTest::addColumn<int>("shownMs");
    QTest::newRow("125 ms rounds down") << 125 << 10 << MacroAction{6, 0, 12} << 120;
    QTest::newRow("3000 ms") << 3000 << 10 << MacroAction{6, 1, 44} << 3000;
    QTest::newRow("15 ms is one unit") << 15 << 10 << MacroAction{6, 0, 1} << 10;
    QTest::newRow("unit 20") << 3000 << 20 << MacroAction{6, 0, 150} << 3000;
    QTest::newRow("zero is one unit") << 0 << 10 << MacroAction{6, 0, 1} << 10;
    QTest::newRow("negative is one unit") << -40 << 10 << MacroAction{6, 0, 1} << 10;
    QTest::newRow("less than unit 20 is one unit") << 15 << 20 << MacroAction{6, 0, 1} << 20;
    QTest::newRow("saturates at two bytes")
        << 10000000 << 10 << MacroAction{6, 0xFF, 0xFF} << 655350;
    QTest::newRow("unit 0 reads as 10") << 125 << 0 << MacroAction{6, 0, 12} << 120;
    QTest::newRow("negative unit reads as 10") << 125 << -5 << MacroAction{6, 0, 12} << 120;
}

void TestMacroAction::delays()
{
    QFETCH(int, ms);
    QFETCH(int, unit);
    QFETCH(MacroAction, action);
    QFETCH(int, shownMs);
    const MacroAction a = macro::delayMs(ms, unit);
    QCOMPARE(a, action);
    QCOMPARE(macro::delayMsOf(a, unit), shownMs);
    QCOMPARE(int(macro::kindOf(a)), int(macro::kKindDelay));
}

void TestMacroAction::moves_data()
{
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<MacroAction>("action");
    QTest::newRow("left 5") << -5 << 0 << MacroAction{2, 0, 251};
    QTest::newRow("right 5") << 5 << 0 << MacroAction{2, 0, 5};
    QTest::newRow("up 120") << 0 << -120 << MacroAction{2, 136, 0};
    QTest::newRow("down 3") << 0 << 3 << MacroAction{2, 3, 0};
    QTest::newRow("left beyond the limit") << -200 << 0 << MacroAction{2, 0, 136};
    QTest::newRow("down beyond the limit") << 0 << 500 << MacroAction{2, 120, 0};
    QTest::newRow("one axis only") << 4 << 9 << MacroAction{2, 0, 4};
}

void TestMacroAction::moves()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(MacroAction, action);
    QCOMPARE(macro::move(dx, dy), action);
}

void TestMacroAction::movementBytesReadBackAsSignedSteps()
{
    QCOMPARE(macro::stepValue(251), -5);
    QCOMPARE(macro::stepValue(136), -120);
    QCOMPARE(macro::stepValue(120), 120);
    QCOMPARE(macro::stepValue(121), -120); // would be -135: beyond the limit
    QCOMPARE(macro::stepValue(0), 0);
    for (int step = -120; step <= 120; ++step)
        QCOMPARE(macro::stepValue(macro::stepByte(step)), step);
    QCOMPARE(macro::moveX(macro::move(-7, 0)), -7);
    QCOMPARE(macro::moveY(macro::move(0, 7)), 7);
}

void TestMacroAction::pressConventionIsTheSameForKeysAndButtons()
{
    QCOMPARE(macro::keyPress(0x04), (MacroAction{0x84, 0, 0x04}));
    QCOMPARE(macro::keyRelease(0x04), (MacroAction{0x04, 0, 0x04}));
    QCOMPARE(macro::buttonPress(macro::kButtonLeft), (MacroAction{0x81, 0, 1}));
    QCOMPARE(macro::buttonRelease(macro::kButtonBackward), (MacroAction{0x01, 0, 16}));
    QVERIFY(macro::isPress(macro::buttonPress(1)));
    QVERIFY(!macro::isPress(macro::buttonRelease(1)));
    QVERIFY(macro::isPress(macro::keyPress(1)));
    QCOMPARE(int(macro::kindOf(macro::buttonPress(2))), int(macro::kKindMouseButton));
    QCOMPARE(int(macro::kindOf(macro::keyPress(2))), int(macro::kKindKey));
    for (int bit = 0; bit < 256; ++bit) {
        const bool known = bit == 1 || bit == 2 || bit == 4 || bit == 8 || bit == 16;
        QCOMPARE(macro::isKnownButtonBit(bit), known);
    }
}

void TestMacroAction::delayUnitFromTheProduct()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    setAppDir(dir.path());
    QCOMPARE(macro::delayUnit(), 10); // no product description
    QSettings(productDescriptionFile(), QSettings::IniFormat).setValue("PROFILE/MinDelay", 20);
    QCOMPARE(macro::delayUnit(), 20);
    QSettings(productDescriptionFile(), QSettings::IniFormat).setValue("PROFILE/MinDelay", 0);
    QCOMPARE(macro::delayUnit(), 10); // a zero unit would divide by zero
    QSettings(productDescriptionFile(), QSettings::IniFormat).setValue("PROFILE/MinDelay", -3);
    QCOMPARE(macro::delayUnit(), 10);
}

QTEST_GUILESS_MAIN(TestMacroAction)
#include "test_macroaction.moc"
