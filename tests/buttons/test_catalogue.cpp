// The function catalogue: every device-code row, the menus, display texts and DeviceCode with
// its parameters.
#include "buttons/catalogue.h"
#include "buttons/combokey.h"
#include "buttons/keycodes.h"

#include <QtTest>

#include <set>

using namespace mc;
using Bytes = std::array<uint8_t, 4>;
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(mc::ButtonInfo)

namespace {

Bytes bytes(uint32_t v)
{
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

QString hex(const Bytes &b)
{
    return QString::asprintf("%02X %02X %02X %02X", b[0], b[1], b[2], b[3]);
}

ButtonInfo entryWith(int code)
{
    ButtonInfo b;
    b.Fun = code;
    return b;
}

QVector<int> codesOf(const QVector<MenuItem> &items)
{
    QVector<int> codes;
    for (const MenuItem &m : items)
        codes << (m.isSubmenu() ? -int(m.submenu) - 1 : m.code);
    return codes;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void tableHas58UniqueRows();
    void plainDeviceCodes_data();
    void plainDeviceCodes();
    void keyboardShortcutRowsDecodeToTheirKeys_data();
    void keyboardShortcutRowsDecodeToTheirKeys();
    void consumerRowsCarryTheirUsageLowByteFirst_data();
    void consumerRowsCarryTheirUsageLowByteFirst();
    void parameterisedDeviceCodes_data();
    void parameterisedDeviceCodes();
    void menusOfferWhatTheProductHas();
    void menuTextsTranslateBothWays();
    void displayTexts();
};

void TestCatalogue::tableHas58UniqueRows()
{
    QCOMPARE(int(kFunctionTable.size()), 58);
    std::set<int> codes;
    std::set<QString> texts;
    int withoutText = 0;
    for (const FunctionRow &row : kFunctionTable) {
        QVERIFY2(codes.insert(row.code).second, qPrintable(QString::number(row.code)));
        if (row.text)
            QVERIFY2(texts.insert(QString::fromLatin1(row.text)).second, row.text);
        else
            ++withoutText;
        QCOMPARE(row.text == nullptr, row.group == MenuGroup::NotOffered);
    }
    QCOMPARE(withoutText, 4); // 13, 60, 61 and the gun file
    for (int code : {13, 60, 61, 510})
        QVERIFY(findFunction(code) && !findFunction(code)->text);
    for (int code : {0, 8, 11, 14, 15, 56, 64, 199, 201, 511, -1})
        QVERIFY(!findFunction(code));
}

void TestCatalogue::plainDeviceCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Bytes>("device");
    const struct
    {
        int code;
        uint32_t device;
    } rows[] = {
        {1, 0x81000000},
        {2, 0x82000000},
        {3, 0x83000000},
        {4, 0x85000000},
        {5, 0x84000000},
        {13, 0x30000000},
        {16, 0x00000000},
        {47, 0x88000000},
        {48, 0x8A000000},
        {49, 0x89000000},
        {50, 0x97000000},
        {51, 0x98000000},
        {52, 0x8B000000},
        {53, 0x8C000000},
        {54, 0x9B080000},
        {57, 0x94000000},
        {58, 0x95000000},
        {59, 0x8D000000},
        {60, 0x9F000000},
        {61, 0xA0000000},
        {63, 0x97010000},
        {18, 0x8F010600},
        {38, 0x8E018A01},
        // codes without a row are sent as nothing
        {0, 0},
        {8, 0},
        {56, 0},
        {64, 0},
        {511, 0},
        {-5, 0},
    };
    for (const auto &r : rows)
        QTest::addRow("code %d", r.code) << r.code << bytes(r.device);
}

void TestCatalogue::plainDeviceCodes()
{
    QFETCH(int, code);
    QFETCH(Bytes, device);
    ButtonInfo b = entryWith(code);
    b.Res1 = 0x55; // parameters of other functions must not leak into plain codes
    b.LoopNumber = 9;
    QCOMPARE(hex(DeviceCode(b, 7, 9)), hex(device));
}

void TestCatalogue::keyboardShortcutRowsDecodeToTheirKeys_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("modifier");
    QTest::addColumn<int>("key");
    const struct
    {
        int code, modifier, key;
    } rows[] = {
        {17, 29, 45}, {18, 29, 46}, {19, 29, 47}, {20, 29, 30}, {21, 29, 33},
        {22, 29, 49}, {23, 29, 25}, {24, 29, 31}, {25, 56, 15}, {26, 56, 62},
        {27, 91, 18}, {28, 91, 19}, {29, 91, 32}, {30, 91, 38}, {62, 91, 50},
    };
    for (const auto &r : rows)
        QTest::addRow("code %d", r.code) << r.code << r.modifier << r.key;
}

void TestCatalogue::keyboardShortcutRowsDecodeToTheirKeys()
{
    QFETCH(int, code);
    QFETCH(int, modifier);
    QFETCH(int, key);
    const Bytes d = DeviceCode(entryWith(code));
    QCOMPARE(int(d[0]), 0x8F);
    QCOMPARE(int(d[1]), int(modifierBit(uint8_t(modifier))));
    QCOMPARE(int(d[2]), int(usageOf(uint8_t(key))));
    QCOMPARE(int(d[3]), 0);
}

void TestCatalogue::consumerRowsCarryTheirUsageLowByteFirst_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("usage");
    const struct
    {
        int code, usage;
    } rows[] = {
        {31, 0x223}, {32, 0x224}, {33, 0x225}, {34, 0x226}, {35, 0x227}, {36, 0x221},
        {37, 0x22A}, {38, 0x18A}, {39, 0x0CD}, {40, 0x0B7}, {41, 0x0B6}, {42, 0x0B5},
        {43, 0x0E9}, {44, 0x0EA}, {45, 0x0E2}, {46, 0x183},
    };
    for (const auto &r : rows)
        QTest::addRow("code %d", r.code) << r.code << r.usage;
}

void TestCatalogue::consumerRowsCarryTheirUsageLowByteFirst()
{
    QFETCH(int, code);
    QFETCH(int, usage);
    const Bytes d = DeviceCode(entryWith(code));
    QCOMPARE(int(d[0]), 0x8E);
    QCOMPARE(int(d[1]), 1);
    QCOMPARE(d[2] | (d[3] << 8), usage);
}

void TestCatalogue::parameterisedDeviceCodes_data()
{
    QTest::addColumn<ButtonInfo>("entry");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("sniper");
    QTest::addColumn<Bytes>("device");

    ButtonInfo single = entryWith(fun::kSingleKey);
    single.Res1 = 46; // C
    QTest::newRow("single key C") << single << 0 << 4 << bytes(0x90000600);
    single.Res1 = keycode::kLeftButton; // a key code without a usage
    QTest::newRow("single key without usage") << single << 0 << 4 << bytes(0x90000000);

    ButtonInfo combo = entryWith(fun::kComboKey);
    ComboKeys ctrlC;
    ctrlC.iComboKey = {0, 1, 0, 0, 1};
    ctrlC.iHotKeyCode[4][0] = 46;
    combo.KeyInfo = comboSequence(ctrlC);
    QTest::newRow("combo ctrl+c") << combo << 0 << 4 << bytes(0x8F010600);
    ComboKeys all = ctrlC;
    all.iComboKey = {2, 2, 1, 1, 1};
    combo.KeyInfo = comboSequence(all);
    QTest::newRow("combo all modifiers") << combo << 0 << 4 << bytes(0x8F0F0600);
    combo.KeyInfo = {};
    QTest::newRow("combo empty") << combo << 0 << 4 << bytes(0x8F000000);

    ButtonInfo fire = entryWith(fun::kFireKey);
    fire.Res1 = firesource::kLeft;
    fire.LoopNumber = 5;
    fire.KeyNumber = 120;
    QTest::newRow("fire left 5 120ms") << fire << 0 << 4 << bytes(0x9981050C);
    fire.Res1 = 0x04; // keyboard A
    QTest::newRow("fire key A") << fire << 0 << 4 << bytes(0x9904050C);
    fire.LoopNumber = 300;
    fire.KeyNumber = 3000;
    QTest::newRow("fire saturates") << fire << 0 << 4 << bytes(0x9904FFFF);
    fire.LoopNumber = -3;
    fire.KeyNumber = -50;
    QTest::newRow("fire negative") << fire << 0 << 4 << bytes(0x99040000);
    ButtonInfo emptyFire = entryWith(fun::kFireKey);
    emptyFire.LoopNumber = 9;
    emptyFire.KeyNumber = 500;
    QTest::newRow("empty fire key") << emptyFire << 0 << 4 << bytes(0x99810300);

    ButtonInfo sniper = entryWith(fun::kSniper);
    sniper.Res1 = 5;
    QTest::newRow("sniper default byte") << sniper << 0 << 4 << bytes(0x9A010404);
    QTest::newRow("sniper sensor byte") << sniper << 0 << 0x21 << bytes(0x9A012121);

    ButtonInfo macro = entryWith(fun::kMacro);
    macro.LoopNumber = 5;
    QTest::newRow("macro mode 0") << macro << 2 << 4 << bytes(0x91020500);
    macro.LoopNumber = 300;
    QTest::newRow("macro 300 loops") << macro << 2 << 4 << bytes(0x91022C01);
    macro.Res1 = kLoopWhileHeld;
    QTest::newRow("macro mode 1 slot 3") << macro << 3 << 4 << bytes(0x9183FFFF);
    macro.Res1 = kLoopUntilPressed;
    QTest::newRow("macro mode 2 slot 3") << macro << 3 << 4 << bytes(0x9143FFFF);
    QTest::newRow("slot keeps off the mode bits") << macro << 0xC5 << 4 << bytes(0x9145FFFF);
    macro.Res1 = 9; // no such mode: plays the count
    macro.LoopNumber = 2;
    QTest::newRow("unknown mode") << macro << 1 << 4 << bytes(0x91010200);
    ButtonInfo gun = entryWith(fun::kGunFile);
    gun.LoopNumber = 1;
    QTest::newRow("gun file") << gun << 4 << 4 << bytes(0x9D040100);
}

void TestCatalogue::parameterisedDeviceCodes()
{
    QFETCH(ButtonInfo, entry);
    QFETCH(int, slot);
    QFETCH(int, sniper);
    QFETCH(Bytes, device);
    QCOMPARE(hex(DeviceCode(entry, slot, uint8_t(sniper))), hex(device));
}

void TestCatalogue::menusOfferWhatTheProductHas()
{
    const int basic = -int(MenuGroup::Basic) - 1;
    const int windows = -int(MenuGroup::Windows) - 1;
    const int advance = -int(MenuGroup::Advance) - 1;
    const int media = -int(MenuGroup::Media) - 1;
    const int dpi = -int(MenuGroup::Dpi) - 1;
    const int rate = -int(MenuGroup::PollingRate) - 1;
    const QVector<int> head{1, 2, 3, 4, 5, basic, windows, advance, media, dpi, rate};
    QCOMPARE(codesOf(topMenu(true, true)), head + QVector<int>({200, 54, 16}));
    QCOMPARE(codesOf(topMenu(false, true)), head + QVector<int>({54, 16}));
    QCOMPARE(codesOf(topMenu(true, false)), head + QVector<int>({200, 16}));
    QCOMPARE(codesOf(topMenu(false, false)), head + QVector<int>({16}));

    QCOMPARE(submenuCodes(MenuGroup::Basic), (QVector<int>{17, 18, 19, 20, 21, 22, 23, 24}));
    QCOMPARE(submenuCodes(MenuGroup::Windows),
             (QVector<int>{25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 62}));
    QCOMPARE(submenuCodes(MenuGroup::Advance), (QVector<int>{6, 7, 12, 55}));
    QCOMPARE(submenuCodes(MenuGroup::Media), (QVector<int>{39, 40, 41, 42, 43, 44, 45, 46}));
    QCOMPARE(submenuCodes(MenuGroup::Dpi), (QVector<int>{47, 48, 49}));
    QCOMPARE(submenuCodes(MenuGroup::PollingRate), (QVector<int>{63, 50, 51}));
    QCOMPARE(submenuCodes(MenuGroup::ProfileMenu), (QVector<int>{59, 57, 58}));
    QCOMPARE(wheelMenu(), (QVector<int>{52, 53, 43, 44, 1, 2, 3, 4, 5, 6, 7}));

    // Each submenu holds exactly the rows of its group, and each offered code has a text.
    for (MenuGroup g : {MenuGroup::Basic, MenuGroup::Windows, MenuGroup::Advance, MenuGroup::Media,
                        MenuGroup::Dpi, MenuGroup::PollingRate, MenuGroup::ProfileMenu}) {
        int rows = 0;
        for (const FunctionRow &row : kFunctionTable)
            rows += row.group == g ? 1 : 0;
        QCOMPARE(submenuCodes(g).size(), rows);
        for (int code : submenuCodes(g))
            QVERIFY(findFunction(code) && findFunction(code)->group == g);
        QVERIFY(groupSourceText(g));
    }
    QCOMPARE(QString::fromLatin1(groupSourceText(MenuGroup::PollingRate)), QString("Polling Rate"));
    QVERIFY(!groupSourceText(MenuGroup::TopLevel));
}

void TestCatalogue::menuTextsTranslateBothWays()
{
    for (const FunctionRow &row : kFunctionTable) {
        if (!row.text)
            continue;
        QCOMPARE(codeForMenuText(QString::fromLatin1(row.text)), row.code);
        QCOMPARE(menuText(row.code), QString::fromLatin1(row.text)); // no translator loaded
    }
    QCOMPARE(codeForMenuText("Forward"), 4);
    QCOMPARE(codeForMenuText("Browser Forward"), 33);
    QCOMPARE(codeForMenuText("Stop"), 40);
    QCOMPARE(codeForMenuText("MODE SWITCH"), 0); // a translation, not a source text
    QCOMPARE(codeForMenuText(QString()), 0);
}

void TestCatalogue::displayTexts()
{
    ButtonInfo b = entryWith(18);
    b.macroname = "ignored";
    QCOMPARE(displayText(b), QString("Copy"));
    b.Fun = fun::kMacro;
    QCOMPARE(displayText(b), QString("ignored"));
    b.Fun = fun::kGunFile;
    QCOMPARE(displayText(b), QString("ignored"));
    b.Fun = 13;
    QVERIFY(displayText(b).isEmpty());
    b.Fun = 999;
    QVERIFY(displayText(b).isEmpty());
    b.Fun = 59;
    QCOMPARE(displayText(b), QString("Profile Switch"));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
