// Key codes: the tables row by row, the name sets and the keyboard-event rule of both hooks.
#include "buttons/keycodes.h"
#include "buttons/keytables.h"
#include "profile/paths.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

using namespace mc;

namespace {

// Every named key with the usage its name row gives (-1: none). Kept apart from the usage
// table so that a wrong row in either shows up as a disagreement.
struct NamedUsage
{
    int code;
    int usage;
};
constexpr NamedUsage kNamedUsages[] = {
    {1, 0x29},   {2, 0x1E},   {3, 0x1F},   {4, 0x20},   {5, 0x21},   {6, 0x22},   {7, 0x23},
    {8, 0x24},   {9, 0x25},   {10, 0x26},  {11, 0x27},  {12, 0x2D},  {13, 0x2E},  {14, 0x2A},
    {15, 0x2B},  {16, 0x14},  {17, 0x1A},  {18, 0x08},  {19, 0x15},  {20, 0x17},  {21, 0x1C},
    {22, 0x18},  {23, 0x0C},  {24, 0x12},  {25, 0x13},  {26, 0x2F},  {27, 0x30},  {28, 0x28},
    {29, 0xE0},  {30, 0x04},  {31, 0x16},  {32, 0x07},  {33, 0x09},  {34, 0x0A},  {35, 0x0B},
    {36, 0x0D},  {37, 0x0E},  {38, 0x0F},  {39, 0x33},  {40, 0x34},  {41, 0x35},  {42, 0xE1},
    {43, 0x31},  {44, 0x1D},  {45, 0x1B},  {46, 0x06},  {47, 0x19},  {48, 0x05},  {49, 0x11},
    {50, 0x10},  {51, 0x36},  {52, 0x37},  {53, 0x38},  {54, 0xE5},  {55, 0x46},  {56, 0xE2},
    {57, 0x2C},  {58, 0x39},  {59, 0x3A},  {60, 0x3B},  {61, 0x3C},  {62, 0x3D},  {63, 0x3E},
    {64, 0x3F},  {65, 0x40},  {66, 0x41},  {67, 0x42},  {68, 0x43},  {69, 0x48},  {70, 0x47},
    {71, 0x4A},  {72, 0x52},  {73, 0x4B},  {74, 0x56},  {75, 0x50},  {76, 0x5D},  {77, 0x4F},
    {78, 0x57},  {79, 0x4D},  {80, 0x51},  {81, 0x4E},  {82, 0x49},  {83, 0x4C},  {87, 0x44},
    {88, 0x45},  {91, 0xE3},  {92, 0xE7},  {93, 0x65},  {224, 0x63}, {225, 0x53}, {226, 0x54},
    {227, 0x55}, {228, 0x61}, {229, 0x58}, {230, 0x59}, {231, 0x5A}, {232, 0x5B}, {233, 0x5C},
    {234, 0x5E}, {235, 0x5F}, {236, 0x60}, {237, 0x62}, {238, 0xE4}, {239, 0xE6}, {240, -1},
    {241, -1},   {242, -1},
};

} // namespace

class TestKeyCodes : public QObject
{
    Q_OBJECT

private slots:
    void usageTableIsAOneToOneMapOf104Rows();
    void everyNamedKeyTranslatesAsItsNameRowSays();
    void codesWithoutRowsAreNotFoundAndKeepThePreset();
    void names_data();
    void names();
    void frenchSetFollowsProductAndLanguage();
    void modifierBits_data();
    void modifierBits();
    void keyEvents_data();
    void keyEvents();
    void recorderDropsTheAltHeldFlagOfPresses();
};

void TestKeyCodes::usageTableIsAOneToOneMapOf104Rows()
{
    QCOMPARE(int(keytables::kUsageTable.size()), 104);
    std::set<int> codes;
    std::set<int> usages;
    int previous = -1;
    for (const auto &row : keytables::kUsageTable) {
        QVERIFY2(codes.insert(row.code).second, qPrintable(QString::number(row.code)));
        QVERIFY2(usages.insert(row.usage).second, qPrintable(QString::number(row.usage)));
        QVERIFY(row.usage > previous); // sorted by usage
        previous = row.usage;
        uint8_t code = 0;
        QVERIFY(usageToKeyCode(row.usage, code));
        QCOMPARE(int(code), int(row.code));
        uint8_t usage = 0;
        QVERIFY(keyCodeToUsage(row.code, usage));
        QCOMPARE(int(usage), int(row.usage));
    }
}

void TestKeyCodes::everyNamedKeyTranslatesAsItsNameRowSays()
{
    QCOMPARE(int(std::size(kNamedUsages)), int(keytables::kKeyNames.size()));
    std::set<int> names;
    for (const auto &row : keytables::kKeyNames)
        QVERIFY(names.insert(row.code).second);
    for (const NamedUsage &n : kNamedUsages) {
        QVERIFY2(!keyName(uint8_t(n.code), false).isEmpty(), qPrintable(QString::number(n.code)));
        uint8_t usage = 0;
        const bool found = keyCodeToUsage(uint8_t(n.code), usage);
        QCOMPARE(found, n.usage >= 0);
        if (found)
            QCOMPARE(int(usage), n.usage);
    }
}

void TestKeyCodes::codesWithoutRowsAreNotFoundAndKeepThePreset()
{
    for (int code : {0, 84, 85, 86, 89, 90, 94, 223, 240, 241, 242, 243, 255}) {
        uint8_t usage = 0x77;
        QVERIFY(!keyCodeToUsage(uint8_t(code), usage));
        QCOMPARE(int(usage), 0x77);
    }
    for (int usage : {0x00, 0x01, 0x03, 0x32, 0x64, 0x66, 0xDF, 0xE8, 0xFF}) {
        uint8_t code = 99;
        QVERIFY(!usageToKeyCode(uint8_t(usage), code));
        QCOMPARE(int(code), 99);
    }
    QCOMPARE(keyName(240, false), QStringLiteral("Left Button"));
    QCOMPARE(int(usageOf(240)), 0);
    QVERIFY(keyName(84, false).isEmpty());
    QVERIFY(keyName(0, true).isEmpty());
}

void TestKeyCodes::names_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("french");
    QTest::addColumn<int>("usage");
    QTest::newRow("Q is A's position") << 16 << "Q"
                                       << "a" << 0x14;
    QTest::newRow("A is Q's position") << 30 << "A"
                                       << "q" << 0x04;
    QTest::newRow("digit 2") << 3 << "2" << QString::fromUtf8("é") << 0x1F;
    QTest::newRow("digit 3 quote") << 4 << "3"
                                   << "\"" << 0x20;
    QTest::newRow("grave") << 41 << "`" << QString::fromUtf8("²") << 0x35;
    QTest::newRow("backslash") << 43 << "\\"
                               << "*" << 0x31;
    QTest::newRow("M") << 50 << "M"
                       << "," << 0x10;
    QTest::newRow("same in both") << 59 << "F1"
                                  << "F1" << 0x3A;
    QTest::newRow("left ctrl") << 29 << "LCtr"
                               << "LCtrl" << 0xE0;
    QTest::newRow("right ctrl") << 238 << "RCtr"
                                << "RCtrl" << 0xE4;
    QTest::newRow("keypad point") << 224 << "Num De"
                                  << "Num Del" << 0x63;
    QTest::newRow("keypad enter") << 229 << "Num Enter"
                                  << "Num Enter" << 0x58;
    QTest::newRow("main enter") << 28 << "Enter"
                                << "Entree" << 0x28;
    QTest::newRow("home") << 71 << "Home"
                          << "Home" << 0x4A;
    QTest::newRow("keypad 7") << 235 << "Num 7"
                              << "Num 7" << 0x5F;
    QTest::newRow("F11 after the gap") << 87 << "F11"
                                       << "F11" << 0x44;
    QTest::newRow("app") << 93 << "App"
                         << "App" << 0x65;
}

void TestKeyCodes::names()
{
    QFETCH(int, code);
    QFETCH(QString, name);
    QFETCH(QString, french);
    QFETCH(int, usage);
    QCOMPARE(keyName(uint8_t(code), false), name);
    QCOMPARE(keyName(uint8_t(code), true), french);
    QCOMPARE(int(usageOf(uint8_t(code))), usage); // the position, whatever the layout
    QCOMPARE(int(keyCodeOf(uint8_t(usage))), code);
}

void TestKeyCodes::frenchSetFollowsProductAndLanguage()
{
    QVERIFY(!useFrenchKeyNames(-1, -1));
    QVERIFY(!useFrenchKeyNames(2, 1));
    QVERIFY(useFrenchKeyNames(2, 2));
    QVERIFY(useFrenchKeyNames(0, 0));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    setAppDir(dir.path());
    QCOMPARE(keyName(16), QStringLiteral("Q")); // no product description: french index -1
    QSettings(productDescriptionFile(), QSettings::IniFormat).setValue("PROFILE/french", 1);
    QCOMPARE(keyName(16), QStringLiteral("Q")); // language 0 is not the French one
    QSettings(langSettingsFile(), QSettings::IniFormat).setValue("Config/LangID", 1);
    QCOMPARE(keyName(16), QStringLiteral("a"));
    QCOMPARE(keyName(30), QStringLiteral("q"));
}

void TestKeyCodes::modifierBits_data()
{
    QTest::addColumn<int>("usage");
    QTest::addColumn<int>("bit");
    QTest::newRow("E0 left ctrl") << 0xE0 << int(modbit::kCtrl);
    QTest::newRow("E4 right ctrl") << 0xE4 << int(modbit::kCtrl);
    QTest::newRow("E1 left shift") << 0xE1 << int(modbit::kShift);
    QTest::newRow("E5 right shift") << 0xE5 << int(modbit::kShift);
    QTest::newRow("E2 left alt") << 0xE2 << int(modbit::kAlt);
    QTest::newRow("E6 right alt") << 0xE6 << int(modbit::kAlt);
    QTest::newRow("E3 left win") << 0xE3 << int(modbit::kWindows);
    QTest::newRow("E7 right win") << 0xE7 << int(modbit::kWindows);
    QTest::newRow("C") << 0x06 << 0;
    QTest::newRow("app key") << 0x65 << 0;
}

void TestKeyCodes::modifierBits()
{
    QFETCH(int, usage);
    QFETCH(int, bit);
    QCOMPARE(int(modifierBit(keyCodeOf(uint8_t(usage)))), bit);
}

void TestKeyCodes::keyEvents_data()
{
    QTest::addColumn<uint>("scan");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<uint>("vk");
    QTest::addColumn<bool>("recorder");
    QTest::addColumn<int>("code");
    QTest::addColumn<uint>("outFlags");
    const bool D = false;
    const bool R = true;
    QTest::newRow("keypad enter") << 28u << 0x01u << 0u << D << 229 << 0x01u;
    QTest::newRow("keypad enter up") << 28u << 0x81u << 0u << D << 229 << 0x81u;
    QTest::newRow("main enter") << 28u << 0x00u << 0u << D << 28 << 0x00u;
    QTest::newRow("enter with alt") << 28u << 0x21u << 0u << D << 28 << 0x21u;
    QTest::newRow("right ctrl") << 29u << 0x01u << 0u << D << 238 << 0x01u;
    QTest::newRow("left ctrl") << 29u << 0x00u << 0u << D << 29 << 0x00u;
    QTest::newRow("keypad slash") << 53u << 0x01u << 0u << D << 226 << 0x01u;
    QTest::newRow("num lock") << 69u << 0x01u << 0u << D << 225 << 0x01u;
    QTest::newRow("pause") << 69u << 0x00u << 0u << D << 69 << 0x00u;
    QTest::newRow("keypad star") << 55u << 0x00u << 0u << D << 227 << 0x00u;
    QTest::newRow("keypad star up") << 55u << 0x80u << 0u << D << 227 << 0x80u;
    QTest::newRow("print screen") << 55u << 0x01u << 0u << D << 55 << 0x01u;
    QTest::newRow("home") << 71u << 0x01u << 0u << D << 71 << 0x01u;
    QTest::newRow("keypad 7") << 71u << 0x00u << 0u << D << 235 << 0x00u;
    QTest::newRow("keypad 7 up") << 71u << 0x80u << 0u << D << 235 << 0x80u;
    QTest::newRow("keypad 8") << 72u << 0x00u << 0u << D << 236 << 0x00u;
    QTest::newRow("keypad 9") << 73u << 0x00u << 0u << D << 228 << 0x00u;
    QTest::newRow("keypad 4") << 75u << 0x00u << 0u << D << 233 << 0x00u;
    QTest::newRow("keypad 6") << 77u << 0x00u << 0u << D << 234 << 0x00u;
    QTest::newRow("keypad 1") << 79u << 0x00u << 0u << D << 230 << 0x00u;
    QTest::newRow("keypad 2") << 80u << 0x00u << 0u << D << 231 << 0x00u;
    QTest::newRow("keypad 3") << 81u << 0x00u << 0u << D << 232 << 0x00u;
    QTest::newRow("keypad 0") << 82u << 0x00u << 0u << D << 237 << 0x00u;
    QTest::newRow("keypad point") << 83u << 0x00u << 0u << D << 224 << 0x00u;
    QTest::newRow("delete") << 83u << 0x01u << 0u << D << 83 << 0x01u;
    QTest::newRow("dialog right alt") << 56u << 0x21u << 0u << D << 239 << 0x21u;
    QTest::newRow("dialog right alt up") << 56u << 0x81u << 0u << D << 239 << 0x81u;
    QTest::newRow("dialog left alt") << 56u << 0x20u << 0u << D << 56 << 0x20u;
    QTest::newRow("recorder right alt") << 56u << 0x21u << 0xA5u << R << 239 << 0x00u;
    QTest::newRow("recorder right alt up") << 56u << 0x81u << 0xA5u << R << 239 << 0x81u;
    QTest::newRow("recorder left alt") << 56u << 0x01u << 0xA4u << R << 56 << 0x01u;
    QTest::newRow("plain letter") << 46u << 0x00u << 0x43u << D << 46 << 0x00u;
    QTest::newRow("scan beyond a byte") << 0x11Cu << 0x01u << 0u << D << 0 << 0x01u;
}

void TestKeyCodes::keyEvents()
{
    QFETCH(uint, scan);
    QFETCH(uint, flags);
    QFETCH(uint, vk);
    QFETCH(bool, recorder);
    QFETCH(int, code);
    QFETCH(uint, outFlags);
    const KeyStroke k =
        keyEventToKeyCode(scan, flags, vk, recorder ? KeySource::Recorder : KeySource::Dialog);
    QCOMPARE(int(k.code), code);
    QCOMPARE(uint(k.flags), outFlags);
}

void TestKeyCodes::recorderDropsTheAltHeldFlagOfPresses()
{
    // While Alt is held the recorder files navigation keys under their keypad codes and the
    // extended variants under their base codes; releases keep their own flags.
    const auto rec = [](uint32_t scan, uint32_t flags) {
        return keyEventToKeyCode(scan, flags, 0, KeySource::Recorder);
    };
    QCOMPARE(int(rec(71, 0x21).code), 235);
    QCOMPARE(int(rec(71, 0x21).flags), 0);
    QCOMPARE(int(rec(29, 0x21).code), 29);
    QCOMPARE(int(rec(28, 0x21).code), 28);
    QCOMPARE(int(rec(53, 0x21).code), 53);
    QCOMPARE(int(rec(71, 0xA1).code), 71);
    QCOMPARE(int(rec(71, 0xA1).flags), 0xA1);
    QCOMPARE(int(rec(71, 0x01).code), 71); // without Alt the rule is the dialogs' one
    QVERIFY(rec(71, 0xA1).released());
}

QTEST_GUILESS_MAIN(TestKeyCodes)
#include "test_keycodes.moc"
