// Macro recording driven as the desktop drives it: key events through the keyboard hook, time from
// a clock the test moves, the recorded actions read back.
#include "buttons/keycodes.h"
#include "macro/macrorecorder.h"

#include <QtTest>

using mc::HookKeyEvent;
using mc::KeyboardHook;
using mc::MacroAction;
using mc::MacroRecorder;
namespace macro = mc::macro;

namespace {

constexpr uint32_t kScanA = 30; // usage 0x04
constexpr uint32_t kScanB = 48; // usage 0x05
constexpr uint32_t kScanHome = 71;
constexpr uint8_t kUsageA = 0x04;
constexpr uint8_t kUsageB = 0x05;

struct Desk
{
    qint64 now = 5000;
    MacroRecorder recorder{[this] { return now; }};

    void down(uint32_t scan, uint32_t flags = 0)
    {
        QVERIFY(!KeyboardHook::dispatch({scan, flags, 0})); // the key goes on to the desktop
    }
    void up(uint32_t scan, uint32_t flags = 0) { down(scan, flags | mc::keyflag::kReleased); }
    void tap(uint32_t scan)
    {
        down(scan);
        up(scan);
    }
};

} // namespace

class TestMacroRecorder : public QObject
{
    Q_OBJECT
private slots:
    void heldKeyGivesOnePressAndNoDelayBeforeTheFirst()
    {
        Desk d;
        d.recorder.setDelayType(MacroRecorder::kRecordDelays);
        d.recorder.start();
        for (int i = 0; i < 30; ++i) { // the keyboard's auto-repeat
            d.down(kScanA);
            d.now += 33;
        }
        d.up(kScanA);
        QVERIFY(d.recorder.stop());
        const QVector<MacroAction> want{macro::keyPress(kUsageA), macro::delayCount(99),
                                        macro::keyRelease(kUsageA)};
        QCOMPARE(d.recorder.actions(), want);
        // The hook is gone: keys after STOP add nothing.
        QCOMPARE(KeyboardHook::installedCount(), 0);
        d.tap(kScanB);
        QCOMPARE(d.recorder.actions().size(), 3);
    }

    void recordedDelaysAreWholeUnitsOfAtLeastOne()
    {
        Desk d;
        d.recorder.setDelayUnit(10);
        d.recorder.setDelayType(MacroRecorder::kRecordDelays);
        d.recorder.start();
        d.down(kScanA);
        d.now += 7;
        d.up(kScanA);
        d.now += 255;
        d.down(kScanB);
        d.up(kScanB); // no time at all
        const auto &a = d.recorder.actions();
        QCOMPARE(a.size(), 7);
        QCOMPARE(a[1], macro::delayCount(1));
        QCOMPARE(a[3], macro::delayCount(25));
        QCOMPARE(a[5], macro::delayCount(1));

        // The default delay in units instead of the measured gap.
        d.recorder.setDelayType(MacroRecorder::kDefaultDelay);
        d.recorder.setDefaultDelayMs(125);
        d.recorder.start();
        d.tap(kScanA);
        QCOMPARE(d.recorder.actions().size(), 3);
        QCOMPARE(d.recorder.actions()[1], macro::delayCount(12));
        d.recorder.stop();

        // A default delay shorter than the product's unit is still one unit, never none.
        d.recorder.setDelayUnit(20);
        d.recorder.setDefaultDelayMs(15);
        d.recorder.start();
        d.tap(kScanA);
        QCOMPARE(d.recorder.actions()[1], macro::delayCount(1));
        d.recorder.stop();
    }

    void recordingStopsAtTheActionLimit_data()
    {
        QTest::addColumn<int>("delayType");
        QTest::addColumn<int>("limit");
        QTest::newRow("no delays") << int(MacroRecorder::kNoDelay) << 40;
        QTest::newRow("recorded delays") << int(MacroRecorder::kRecordDelays) << 63;
    }
    void recordingStopsAtTheActionLimit()
    {
        QFETCH(int, delayType);
        QFETCH(int, limit);
        Desk d;
        d.recorder.setDelayType(delayType);
        d.recorder.start();
        for (int i = 0; i < 40; ++i) {
            d.tap(kScanA);
            d.now += 50;
        }
        const auto &a = d.recorder.actions();
        QCOMPARE(a.size(), limit);
        QCOMPARE(a.last(), macro::keyRelease(kUsageA));
        d.recorder.stop();
    }

    void unreleasedKeyFailsTheCheckButKeepsTheActions()
    {
        Desk d;
        d.recorder.start();
        d.down(kScanA);
        d.down(kScanB);
        d.up(kScanB);
        QVERIFY(!d.recorder.stop());
        const QVector<MacroAction> want{macro::keyPress(kUsageA), macro::keyPress(kUsageB),
                                        macro::keyRelease(kUsageB)};
        QCOMPARE(d.recorder.actions(), want);
        QCOMPARE(MacroRecorder::unreleasedMessage(),
                 QStringLiteral("ONE OR MORE KEYS HAS NOT BEEN RELEASED."));
        // A key pressed twice and released once is still down.
        QVERIFY(!MacroRecorder::releaseCheck({macro::keyPress(kUsageA), macro::keyRelease(kUsageA),
                                              macro::keyPress(kUsageA),
                                              macro::keyRelease(kUsageB)}));
        QVERIFY(MacroRecorder::releaseCheck({}));
    }

    void keyPressedWithAltIsReleasedUnderItsPressCode()
    {
        // With Alt held the navigation keys go down as their keypad codes; the release must free
        // that same key, or the mouse would hold it down after the macro and the next press of
        // the key would be taken for an auto-repeat.
        Desk d;
        d.recorder.start();
        for (int i = 0; i < 2; ++i) {
            d.down(kScanHome, mc::keyflag::kExtended | mc::keyflag::kAltDown);
            d.up(kScanHome, mc::keyflag::kExtended);
        }
        const uint8_t keypad7 = mc::usageOf(235);
        const QVector<MacroAction> want{macro::keyPress(keypad7), macro::keyRelease(keypad7),
                                        macro::keyPress(keypad7), macro::keyRelease(keypad7)};
        QCOMPARE(d.recorder.actions(), want);
        QVERIFY(d.recorder.stop());
    }

    void editModeReplacesTheKeyOfAKeyActionOnly()
    {
        Desk d;
        QSignalSpy edited(&d.recorder, &MacroRecorder::keyEdited);
        d.recorder.beginEdit(macro::keyRelease(kUsageA));
        d.down(kScanB);
        d.down(kScanB); // a repeat of the same key changes nothing
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.at(0).at(0).toInt(), 48);
        QCOMPARE(d.recorder.editedAction(), macro::keyRelease(kUsageB));
        d.recorder.endEdit();
        QCOMPARE(KeyboardHook::installedCount(), 0);

        d.recorder.beginEdit(macro::buttonPress(macro::kButtonLeft));
        QCOMPARE(KeyboardHook::installedCount(), 0);
        d.tap(kScanA);
        QCOMPARE(d.recorder.editedAction(), macro::buttonPress(macro::kButtonLeft));
    }

    void destroyingTheRecorderRemovesItsHook()
    {
        {
            Desk d;
            d.recorder.start();
            QCOMPARE(KeyboardHook::installedCount(), 1);
        }
        QCOMPARE(KeyboardHook::installedCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMacroRecorder)
#include "test_macrorecorder.moc"
