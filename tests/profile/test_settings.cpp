// Accessors of the product description and the settings files: defaults of missing keys, the
// encoded button and DPI counts, clamping of values that later index tables, and the sample
// product shipped beside the program.
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/profilestore.h"
#include "profile/settings.h"
#include "profiletestutil.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace mc;
using mctest::DataDir;
using Reader = std::function<int()>;
Q_DECLARE_METATYPE(Reader)

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void defaultsWithoutFiles();
    void encodedCounts_data();
    void encodedCounts();
    void featureSwitchesAndTables();
    void hostileValuesAreClamped_data();
    void hostileValuesAreClamped();
    void macroCountSkipsGaps();
    void emptyProductNameUsesConfigIni();
    void productNameKeepsItsCharactersItsFolderStaysInside();
    void fileNameLengthCountsBytes();
    void lightingVariantOfAnyProductName();
    void valuesWrittenReadBack();
    void oversizedFilesAreNeitherReadNorRewritten();
    void unboundedTypedValuesRefuseTheFile();
    void groupHeadersHideNoKeys();
    void sampleProductIsConsistent();
};

void TestSettings::defaultsWithoutFiles()
{
    DataDir dir;
    QVERIFY(!productDescriptionExists());
    QCOMPARE(readProductName(), QString());
    QCOMPARE(readButtonCount(), 0);
    QCOMPARE(readDpiCount(), 0);
    QCOMPARE(usableDpiCount(), 8);
    const UsbIds ids = readUsbIds();
    QCOMPARE(ids.receiverVid, 0x248A);
    QCOMPARE(ids.receiverPid, 0xFA02);
    QCOMPARE(ids.cableVid, 0x248A);
    QCOMPARE(ids.cablePid, 0xFB01);
    QCOMPARE(readMinDelay(), 10);
    QCOMPARE(readSleepRange().min, 1);
    QCOMPARE(readSleepRange().max, 9);
    QCOMPARE(readShowSleep(), 1);
    QCOMPARE(readFrenchIndex(), -1);
    QCOMPARE(readDisableMacro(), 0);
    QCOMPARE(readBatteryFull(), 4200);
    QVERIFY(readReapplyOnConnect());
    QCOMPARE(readSensorCode(), 0);
    QCOMPARE(readActiveSlot(), 0);
    QCOMPARE(readLanguage(), 0);
    QVERIFY(readScrollRev() == 0 && read33254() == 0 && readColorMode() == 0);
    QVERIFY(readLedDisable() == 0 && readProductSync() == 0 && readDiff() == 0);
    QVERIFY(readBattery() == 0 && readThemeColourIndex() == 0 && readLightingVariant() == 0);
    QVERIFY(readModel().isEmpty() && readMouseListName().isEmpty());
    QVERIFY(readCurrentProduct().isEmpty());
    QCOMPARE(readMacroCount(), 0);
    QCOMPARE(readFontRule(0).pixelSize, 0);
    buttonSlotMap().fill(9);
    QCOMPARE(readButtonSlotMap(), -1);
    QCOMPARE(buttonSlotMap()[0], uint8_t(9)); // left unchanged
    PanelPlacement placement;
    QCOMPARE(readPanelPlacement(placement), -1);
    QCOMPARE(readLanguageTable().count, 0);
}

void TestSettings::encodedCounts_data()
{
    QTest::addColumn<int>("buttonKey");
    QTest::addColumn<int>("mouseDpi");
    QTest::addColumn<int>("dpiKey");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("dpis");
    QTest::addColumn<int>("usableDpis");
    QTest::newRow("documented example") << 0 << 7 << 1 << 7 << 6 << 6;
    QTest::newRow("six and six") << 0x5A << 0x5C << 0 << 6 << 6 << 6;
    QTest::newRow("eight stages") << 3 << 5 << 14 << 6 << 8 << 8;
    QTest::newRow("nine counts as eight") << 0 << 0 << 9 << 0 << 9 << 8;
    QTest::newRow("zero counts as eight") << 4 << 4 << 0 << 0 << 0 << 8;
    QTest::newRow("negative") << 0 << 0 << -3 << 0 << -3 << 8;
}

void TestSettings::encodedCounts()
{
    QFETCH(int, buttonKey);
    QFETCH(int, mouseDpi);
    QFETCH(int, dpiKey);
    QFETCH(int, buttons);
    QFETCH(int, dpis);
    QFETCH(int, usableDpis);
    DataDir dir;
    mctest::writeWithQSettings(productDescriptionFile(),
                               {{QStringLiteral("PROFILE/ButtonCount"), buttonKey},
                                {QStringLiteral("PROFILE/MouseDpi"), mouseDpi},
                                {QStringLiteral("PROFILE/DPICount"), dpiKey}});
    QCOMPARE(readButtonCount(), buttons);
    QCOMPARE(readDpiCount(), dpis);
    QCOMPARE(usableDpiCount(), usableDpis);
    PanelPlacement placement;
    QCOMPARE(readPanelPlacement(placement), 0);
    QCOMPARE(placement.buttonCount, buttons);
}

void TestSettings::featureSwitchesAndTables()
{
    DataDir dir;
    mctest::Values desc = {{QStringLiteral("PROFILE/ProductName"), QStringLiteral("KIV M1")},
                           {QStringLiteral("PROFILE/DisableMacro"), 1},
                           {QStringLiteral("PROFILE/ShowSleep"), 0},
                           {QStringLiteral("PROFILE/ScrollRev"), 1},
                           {QStringLiteral("PROFILE/MinDelay"), 5},
                           {QStringLiteral("PROFILE/33254"), 1},
                           {QStringLiteral("PROFILE/ColorMode"), 3},
                           {QStringLiteral("PROFILE/ledDisable"), 1},
                           {QStringLiteral("PROFILE/Sync"), 2},
                           {QStringLiteral("PROFILE/french"), 4},
                           {QStringLiteral("PROFILE/SleepMin"), 2},
                           {QStringLiteral("PROFILE/SleepMax"), 30},
                           {QStringLiteral("PROFILE/vid1"), 0x1234},
                           {QStringLiteral("PROFILE/pid2"), 0x5678}};
    for (int n = 0; n < kMatrixCount; ++n) {
        desc.append({QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix").arg(n), n + 1});
        desc.append({QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix2").arg(n), n == 4 ? -1 : n});
    }
    mctest::writeWithQSettings(productDescriptionFile(), desc);
    QCOMPARE(readProductName(), QStringLiteral("KIV M1"));
    QCOMPARE(readDisableMacro(), 1);
    QCOMPARE(readShowSleep(), 0);
    QCOMPARE(readScrollRev(), 1);
    QCOMPARE(readMinDelay(), 5);
    QCOMPARE(read33254(), 1);
    QCOMPARE(readColorMode(), 3);
    QCOMPARE(readLedDisable(), 1);
    QCOMPARE(readProductSync(), 2);
    QCOMPARE(readFrenchIndex(), 4);
    QCOMPARE(readSleepRange().min, 2);
    QCOMPARE(readSleepRange().max, 30);
    QCOMPARE(readUsbIds().receiverVid, 0x1234);
    QCOMPARE(readUsbIds().receiverPid, 0xFA02);
    QCOMPARE(readUsbIds().cablePid, 0x5678);
    QCOMPARE(readButtonSlotMap(), 0);
    QCOMPARE(buttonSlotMap()[15], uint8_t(16));
    PanelPlacement placement;
    QCOMPARE(readPanelPlacement(placement), 0);
    QCOMPARE(placement.place[4], int8_t(-1));
    QCOMPARE(placement.place[5], int8_t(5));

    mctest::writeWithQSettings(appSettingsFile(),
                               {{QStringLiteral("FONT_LIST/LANGNUM"), 2},
                                {QStringLiteral("FONT_LIST/LangName_1"), QStringLiteral("Deutsch")},
                                {QStringLiteral("FONT_LIST/LangFile_1"), QStringLiteral("de")},
                                {QStringLiteral("FONT_LIST/LangName_9"), QStringLiteral("x")},
                                {QStringLiteral("FONT_LIST/FONT_1"), QStringLiteral("Arial")},
                                {QStringLiteral("FONT_LIST/FONT_SIZE_1"), 14}});
    const LanguageTable table = readLanguageTable();
    QCOMPARE(table.count, 2);
    QCOMPARE(table.names[1], QStringLiteral("Deutsch"));
    QCOMPARE(table.files[1], QStringLiteral("de"));
    QCOMPARE(table.names[9], QStringLiteral("x")); // all ten are read, whatever the count
    QCOMPARE(readFontRule(1).family, QStringLiteral("Arial"));
    QCOMPARE(readFontRule(1).pixelSize, 14);
}

void TestSettings::hostileValuesAreClamped_data()
{
    QTest::addColumn<bool>("description");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<Reader>("read");
    QTest::addColumn<int>("expected");
    using F = Reader;
    QTest::newRow("delay unit 0") << true << "PROFILE/MinDelay" << QVariant(0) << F(readMinDelay)
                                  << 10;
    QTest::newRow("delay unit text")
        << true << "PROFILE/MinDelay" << QVariant("x") << F(readMinDelay) << 10;
    QTest::newRow("sensor variant 7")
        << true << "PROFILE/Sync" << QVariant(7) << F(readProductSync) << 0;
    QTest::newRow("sleep max below min") << true << "PROFILE/SleepMax" << QVariant(-4)
                                         << F([] { return readSleepRange().max; }) << 1;
    QTest::newRow("button count 5000")
        << true << "PROFILE/ButtonCount" << QVariant(5000) << F(usableButtonCount) << 40;
    QTest::newRow("slot 9") << false << "Config/ProfileID" << QVariant(9) << F(readActiveSlot) << 0;
    QTest::newRow("slot -1") << false << "Config/ProfileID" << QVariant(-1) << F(readActiveSlot)
                             << 0;
    QTest::newRow("battery 250") << false << "Config/Battery" << QVariant(250) << F(readBattery)
                                 << 100;
    QTest::newRow("reapply text") << false << "Config/ReapplyOnConnect" << QVariant("off")
                                  << F(readReapplyOnConnect) << 1;
    QTest::newRow("theme 9") << false << "Config/GColorID" << QVariant(9) << F(readThemeColourIndex)
                             << 0;
    QTest::newRow("languages 1000") << false << "FONT_LIST/LANGNUM" << QVariant(1000)
                                    << F([] { return readLanguageTable().count; }) << 10;
}

void TestSettings::hostileValuesAreClamped()
{
    QFETCH(bool, description);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(Reader, read);
    QFETCH(int, expected);
    DataDir dir;
    mctest::writeWithQSettings(description ? productDescriptionFile() : appSettingsFile(),
                               {{key, value}});
    QCOMPARE(read(), expected);
}

void TestSettings::productNameKeepsItsCharactersItsFolderStaysInside()
{
    DataDir dir;
    for (const QString &name :
         {QStringLiteral("Mouse 4K/8K"), QStringLiteral("../x"), QStringLiteral(".."),
          QStringLiteral("a\\b:c"), QStringLiteral("CON"), QString(130, QChar(0xE9)) + '/'}) {
        writeCurrentProduct(name);
        QCOMPARE(readCurrentProduct(), name); // the device table and the settings know it so
        const QFileInfo folder(productDir());
        QCOMPARE(folder.absolutePath(), configDir());
        QVERIFY2(isSafeFileName(folder.fileName()), qPrintable(folder.fileName()));
        QCOMPARE(productFolderName(folder.fileName()), folder.fileName());
        // The window's pictures come from the skin folder only, or not at all.
        QCOMPARE(productPicturePath(QStringLiteral("/Mouse.png")), QString());
    }
    QVERIFY(writeCurrentProduct(QStringLiteral("KIV M1")).ok());
    QCOMPARE(productPicturePath(QStringLiteral("_Side.png")),
             skinDir() + QStringLiteral("/mouse/KIV M1_Side.png"));
    writeCurrentProduct(QStringLiteral("Mouse 4K/8K"));
    QCOMPARE(productDir(), configDir() + QStringLiteral("/Mouse 4K_8K"));
    writeCurrentProduct(QStringLiteral("KIV M1"));
    QCOMPARE(productDir(), configDir() + QStringLiteral("/KIV M1"));
}

void TestSettings::fileNameLengthCountsBytes()
{
    // File systems limit a name to 255 bytes, not characters: 130 "é" are 260 bytes.
    QVERIFY(isSafeFileName(QString(100, QChar(0xE9))));
    QVERIFY(!isSafeFileName(QString(130, QChar(0xE9))));
    QVERIFY(isSafeFileName(QString(200, QLatin1Char('e'))));
    // Windows' device names, in any case and with any extension, and only those.
    for (const char *device : {"con", "Aux.txt", "NUL.tar.gz", "com9", "Lpt1.conf"})
        QVERIFY2(!isSafeFileName(QLatin1String(device)), device);
    for (const char *plain : {"CONSOLE", "com0", "COM10", "LPT", "xcon", "NUL_", "aux-1"})
        QVERIFY2(isSafeFileName(QLatin1String(plain)), plain);
}

void TestSettings::macroCountSkipsGaps()
{
    DataDir dir;
    mctest::writeWithQSettings(appSettingsFile(), {{QStringLiteral("MACRO_LIST/3"), "Rapid"},
                                                   {QStringLiteral("MACRO_LIST/0"), ""},
                                                   {QStringLiteral("MACRO_LIST/50"), "Beyond"}});
    QCOMPARE(readMacroCount(), 1);
    QCOMPARE(readMacroList().size(), kMaxMacros);
    QCOMPARE(readMacroList().at(3), QStringLiteral("Rapid"));
}

void TestSettings::emptyProductNameUsesConfigIni()
{
    DataDir dir;
    QCOMPARE(productSettingsFile(), appSettingsFile());
    QCOMPARE(profileDir(), legacyProfileDir());
    writeCurrentProduct(QStringLiteral("KIV M1"));
    QCOMPARE(productSettingsFile(), dir.path(QStringLiteral("Configs/KIV M1/Config.ini")));
    QCOMPARE(profileDir(), dir.path(QStringLiteral("Configs/KIV M1/Profile")));
}

void TestSettings::lightingVariantOfAnyProductName()
{
    DataDir dir;
    const QString product = QString::fromUtf8("Maus Ä 中");
    writeCurrentProduct(product);
    mctest::writeWithQSettings(appSettingsFile(), {{QStringLiteral("MouseLEDMode/") + product, 3}});
    QCOMPARE(readLightingVariant(), 3);
}

void TestSettings::valuesWrittenReadBack()
{
    DataDir dir;
    writeActiveSlot(3);
    QCOMPARE(readActiveSlot(), 3);
    writeActiveSlot(12);
    QCOMPARE(readActiveSlot(), 0);
    writeDiff(1);
    QCOMPARE(readDiff(), 1);
    writeReapplyOnConnect(false);
    QVERIFY(!readReapplyOnConnect());
    writeBattery(70);
    QCOMPARE(readBattery(), 70);
    writeLanguage(2);
    QCOMPARE(readLanguage(), 2);
    // Rewrites of the same size in quick succession, between reads and writes of QSettings in
    // the same process (which trusts its cached copy while size and time stay): each one seen,
    // none undone.
    for (int slot = 1; slot < 5; ++slot) {
        QVERIFY(writeActiveSlot(slot).written());
        QCOMPARE(QSettings(appSettingsFile(), mctest::storedIniFormat())
                     .value(QStringLiteral("Config/ProfileID"))
                     .toInt(),
                 slot);
        QSettings(appSettingsFile(), mctest::storedIniFormat())
            .setValue(QStringLiteral("Config/Other"), slot);
        QCOMPARE(readActiveSlot(), slot);
    }
    const QString exported = dir.path(QStringLiteral("out.conf"));
    mctest::writeWithQSettings(exported, {{QStringLiteral("Config/ProfileID"), 1}});
    WriteExportMark(exported, QStringLiteral("KIV M1, \"pro\""));
    QCOMPARE(ReadExportMark(exported), QStringLiteral("KIV M1, \"pro\""));
    QCOMPARE(QSettings(exported, mctest::storedIniFormat()).value(QStringLiteral("MouseName/Name")),
             QVariant(QStringLiteral("KIV M1, \"pro\"")));
    QCOMPARE(
        QSettings(exported, mctest::storedIniFormat()).value(QStringLiteral("Config/ProfileID")),
        QVariant(QStringLiteral("1")));
}

void TestSettings::sampleProductIsConsistent()
{
    // The product files laid out beside the executables, read from the source tree.
    setAppDir(QStringLiteral(MC_SAMPLE_PRODUCT_DIR));
    const QString product = readProductName();
    QVERIFY(!product.isEmpty());
    QCOMPARE(readButtonCount(), 6);
    QCOMPARE(readDpiCount(), 6);
    QCOMPARE(readUsbIds().receiverPid, 0xFA02);
    QCOMPARE(readUsbIds().cablePid, 0xFB01);
    QCOMPARE(readLedDisable(), 0);
    QCOMPARE(readProductSync(), 2);
    QCOMPARE(readCurrentProduct(), product);
    QCOMPARE(readMouseListName(), product);
    QCOMPARE(readSensorCode(), 3395);
    const LanguageTable table = readLanguageTable();
    QCOMPARE(table.count, 1);
    QCOMPARE(table.names[0], QStringLiteral("English"));
    QCOMPARE(table.files[0], QStringLiteral("en"));
    QVERIFY(!readFontRule(0).family.isEmpty());
    QVERIFY(readFontRule(0).pixelSize > 0);
    QSettings config(appSettingsFile(), mctest::storedIniFormat());
    for (int i = 1; i <= 5; ++i)
        QCOMPARE(config.value(QStringLiteral("Config/Profile%1").arg(i)).toString(),
                 QStringLiteral("Profile %1").arg(i));
    PanelPlacement placement;
    QCOMPARE(readPanelPlacement(placement), 0);
    int shown = 0;
    for (int n = 0; n < kMatrixCount; ++n)
        shown += placement.place[size_t(n)] >= 0 ? 1 : 0;
    QCOMPARE(shown, 6);
    ProductDefaults defaults;
    QVERIFY(readProductDefaults(defaults));
    QVERIFY(defaults.dpi >= 0 && defaults.dpi < 6);
    QVERIFY(defaults.pollrate == 1);
    for (int s = 0; s < 6; ++s)
        QVERIFY(defaults.stages[size_t(s)] > 0);
    for (const auto &led : defaults.leds)
        QVERIFY(led.color.isValid());
    QCOMPARE(defaults.buttons[0].Fun, 1);
    setAppDir(QString());
}

// A settings file far larger than any of ours is damaged or hostile: it is not loaded into
// memory, reads as defaults, and the user's file is not replaced by a write.
void TestSettings::oversizedFilesAreNeitherReadNorRewritten()
{
    DataDir dir;
    QDir().mkpath(dir.path(QStringLiteral("Configs")));
    QByteArray big("[Config]\nProfileID=3\nGColorID=4\n");
    const QByteArray filler = QByteArray(1000, 'x').prepend(';').append('\n');
    while (big.size() <= IniFile::kMaxFileSize)
        big += filler;
    for (const QString &path : {appSettingsFile(), productDescriptionFile()}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(big);
    }
    QCOMPARE(readActiveSlot(), 0);
    QCOMPARE(readThemeColourIndex(), 0);
    QCOMPARE(readMinDelay(), 10);
    writeActiveSlot(2);
    QFile f(appSettingsFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.size(), qint64(big.size()));
    QVERIFY(f.read(40).startsWith("[Config]\nProfileID=3"));

#ifdef Q_OS_UNIX
    // Nor is what is no file: a FIFO in place of Config.ini is read as defaults at once (opening
    // it for reading would wait for a writer) and is not replaced.
    f.close();
    QVERIFY(QFile::remove(appSettingsFile()));
    QVERIFY(::mkfifo(QFile::encodeName(appSettingsFile()).constData(), 0600) == 0);
    QVERIFY(!settingsFileUsable(appSettingsFile()));
    QCOMPARE(readActiveSlot(), 0);
    QVERIFY(!writeActiveSlot(2));
    QVERIFY(!QFileInfo(appSettingsFile()).isFile());
#endif
}

// A small file can be hostile too: a typed value whose stream form claims two billion list
// entries would make QSettings reserve gigabytes and end the program as it reads the file, even
// on a line that a later line of the same key hides. Such a settings file reads as defaults, is
// not replaced by a write, and a store loaded from it says which file could not be read.
void TestSettings::unboundedTypedValuesRefuseTheFile()
{
    DataDir dir;
    QDir().mkpath(dir.path(QStringLiteral("Configs")));
    const QByteArray hostile("x=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\nx=1\n");
    const QByteArray config = "[Config]\nProfileID=3\nGColorID=4\n" + hostile;
    const QByteArray description = "[PROFILE]\nMinDelay=20\nButtonCount=7\n" + hostile;
    for (const auto &file :
         {qMakePair(appSettingsFile(), config), qMakePair(productDescriptionFile(), description)}) {
        QFile f(file.first);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file.second);
    }
    QCOMPARE(readActiveSlot(), 0);
    QCOMPARE(readThemeColourIndex(), 0);
    QCOMPARE(readMinDelay(), 10);
    QCOMPARE(readButtonCount(), 0);
    writeActiveSlot(2);

    ProfileStore store;
    QString unreadable;
    QVERIFY(!LoadStore(store, &unreadable));
    QCOMPARE(unreadable, appSettingsFile());
    QVERIFY(!SaveStore(store));
    QFile f(appSettingsFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), config);
}

// QSettings finds a group by comparing names: a group whose name sorts between [PROFILE] and its
// keys ("[PROFILE\\]", read as "PROFILE//", or an open quote run on by a bare carriage return)
// hid the description's keys from the accessors while the new-profile defaults, read by our own
// reader, saw them. Both inputs were found by the product description fuzzer.
void TestSettings::groupHeadersHideNoKeys()
{
    DataDir dir;
    mctest::writeBytes(productDescriptionFile(),
                       "[PROFILE\\]\n[PROFILE]\nProductName=KIV M1\nButtonCount=90\nMouseDpi=92\n"
                       "MinDelay=20\n");
    QCOMPARE(readProductName(), QStringLiteral("KIV M1"));
    QCOMPARE(readButtonCount(), 90 ^ 92);
    QCOMPARE(readMinDelay(), 20);

    const QString quoted = dir.path(QStringLiteral("quoted"));
    setAppDir(quoted);
    mctest::writeBytes(productDescriptionFile(),
                       "[PROFILE]\nProductName=KIV M1\ndpi=3\npollrate=2\n[PROFILE/\"\rdpi=1\n");
    QCOMPARE(readProductName(), QStringLiteral("KIV M1"));
    ProductDefaults defaults;
    QVERIFY(readProductDefaults(defaults));
    QCOMPARE(defaults.dpi, 3);
    QCOMPARE(defaults.pollrate, 2);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
