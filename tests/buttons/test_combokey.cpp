// Combination key sequences: the insert-and-shift rule, slot order, the dialog preset read back.
#include "buttons/combokey.h"
#include "buttons/keycodes.h"

#include <QtTest>

using namespace mc;
Q_DECLARE_METATYPE(mc::ComboKeys)

namespace {

constexpr uint8_t P = combo::kPress;

ComboKeys keys(std::array<uint8_t, 5> chosen, uint8_t other = 0)
{
    ComboKeys k;
    k.iComboKey = chosen;
    k.iHotKeyCode[combo::kOtherSlot][0] = other;
    return k;
}

QString dump(const KeySequence &seq, int n)
{
    QStringList parts;
    for (int i = 0; i < n; ++i)
        parts << QString::asprintf("(%02X %02X %02X)", seq[i].map, seq[i].low, seq[i].high);
    return parts.join(' ');
}

} // namespace

class TestComboKey : public QObject
{
    Q_OBJECT

private slots:
    void sequences_data();
    void sequences();
    void insertionShiftsWithinTheSlots();
    void presetReadsTheFirstFiveTriples();
    void deviceCodePartsIgnoreEmptyTriples();
};

void TestComboKey::sequences_data()
{
    QTest::addColumn<ComboKeys>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ctrl+c") << keys({0, 1, 0, 0, 1}, 46)
                            << "(E0 05 80) (06 05 80) (06 05 00) (E0 05 00) (00 00 00)";
    QTest::newRow("shift+ctrl+c, shift outermost")
        << keys({1, 1, 0, 0, 1}, 46)
        << "(E1 05 80) (E0 05 80) (06 05 80) (06 05 00) (E0 05 00) (E1 05 00) (00 00 00)";
    QTest::newRow("right ctrl stored as left") << keys({0, 2, 0, 0, 1}, 46)
                                               << "(E0 05 80) (06 05 80) (06 05 00) (E0 05 00) "
                                                  "(00 00 00)";
    QTest::newRow("win+alt in slot order") << keys({0, 0, 1, 1, 0})
                                           << "(E3 05 80) (E2 05 80) (E2 05 00) (E3 05 00) "
                                              "(00 00 00)";
    QTest::newRow("other key without usage left out")
        << keys({0, 1, 0, 0, 1}, keycode::kLeftButton) << "(E0 05 80) (E0 05 00) (00 00 00)";
    QTest::newRow("nothing chosen") << keys({0, 0, 0, 0, 0}) << "(00 00 00) (00 00 00)";
}

void TestComboKey::sequences()
{
    QFETCH(ComboKeys, input);
    QFETCH(QString, expected);
    const int n = expected.count('(');
    QCOMPARE(dump(comboSequence(input), n), expected);
}

void TestComboKey::insertionShiftsWithinTheSlots()
{
    KeySequence seq{};
    for (int i = 0; i < kKeyStepCount; ++i)
        seq[i] = {uint8_t(i + 1), 0, 0};
    insertKeyTriples(seq, 1, 0x06);
    QCOMPARE(int(seq[0].map), 1);
    QCOMPARE(seq[1], (KeyInfo{0x06, 5, P}));
    QCOMPARE(seq[2], (KeyInfo{0x06, 5, 0}));
    QCOMPARE(int(seq[3].map), 2);    // moved two places later
    QCOMPARE(int(seq[62].map), 61);  // the last two fell off the end
    insertKeyTriples(seq, 62, 0x07); // only the press fits
    QCOMPARE(seq[62], (KeyInfo{0x07, 5, P}));
    const KeySequence before = seq;
    insertKeyTriples(seq, 63, 0x08);
    insertKeyTriples(seq, -1, 0x08);
    QVERIFY(seq == before);
}

void TestComboKey::presetReadsTheFirstFiveTriples()
{
    const ComboKeys shiftCtrlC = keys({1, 1, 0, 0, 1}, 46);
    const ComboKeys back = comboKeysFromSequence(comboSequence(shiftCtrlC));
    QVERIFY(back == shiftCtrlC);

    KeySequence seq{};
    seq[0] = {0xE4, 5, P}; // right ctrl
    seq[1] = {0xE7, 5, P}; // right windows
    seq[2] = {0x04, 5, P}; // A
    seq[3] = {0x05, 5, P}; // B replaces A
    seq[5] = {0x06, 5, P}; // beyond the first five: ignored
    const ComboKeys k = comboKeysFromSequence(seq);
    QCOMPARE(k.iComboKey, (std::array<uint8_t, 5>{0, 2, 2, 0, 1}));
    QCOMPARE(int(k.iHotKeyCode[combo::kOtherSlot][0]), 48);
    QCOMPARE(int(k.iHotKeyCode[1][0]), 29); // the pairs keep their presets
}

void TestComboKey::deviceCodePartsIgnoreEmptyTriples()
{
    KeySequence seq = comboSequence(keys({1, 0, 0, 1, 0}));
    QCOMPARE(int(comboModifierBits(seq)), modbit::kShift | modbit::kAlt);
    QCOMPARE(int(comboMainUsage(seq)), 0); // modifiers only
    seq = comboSequence(keys({0, 0, 0, 0, 1}, 59));
    QCOMPARE(int(comboModifierBits(seq)), 0);
    QCOMPARE(int(comboMainUsage(seq)), 0x3A);
    seq[10] = {0xE4, 5, P}; // right ctrl anywhere in the sequence counts
    QCOMPARE(int(comboModifierBits(seq)), int(modbit::kCtrl));
}

QTEST_GUILESS_MAIN(TestComboKey)
#include "test_combokey.moc"
