// Macro files: what is written, the reader's rebuild rules, the raw reads for the upload, and
// damaged or hostile files read safely.
#include "macro/macrofile.h"
#include "profile/changemask.h"
#include "profile/paths.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;
Q_DECLARE_METATYPE(mc::MacroAction)

namespace {

void writeRaw(const QString &name, const QByteArray &content)
{
    QDir().mkpath(macroDir());
    QFile f(macroFile(name));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QByteArray oneAction(int map, int dataH, int dataL)
{
    return QString("[Setting]\nCount=1\nMap_0=%1\nDataH_0=%2\nDataL_0=%3\n")
        .arg(map)
        .arg(dataH)
        .arg(dataL)
        .toLatin1();
}

} // namespace

class TestMacroFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void roundTripKeepsSettingsAndActions();
    void fileCarriesTheDocumentedKeys();
    void overwritingDropsOldActions();
    void readerRebuildsByKind_data();
    void readerRebuildsByKind();
    void storedActionsAreRawAndBounded();
    void hugeCountCostsNothing();
    void damagedSettingsAreClamped();
    void missingKeysReadAsDefaults();
    void unsafeNamesTouchNoFile_data();
    void unsafeNamesTouchNoFile();
    void oversizedFileIsNotParsed();
    void unboundedTypedValueReadsAsEmpty();
    void groupHeadersHideNoActions();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestMacroFile::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    setAppDir(m_dir->path());
}

void TestMacroFile::roundTripKeepsSettingsAndActions()
{
    Macro m;
    m.settings = {250, 2, 3, 17};
    m.actions << macro::keyPress(0x04) << macro::delayMs(125, 10) << macro::keyRelease(0x04)
              << macro::buttonPress(macro::kButtonRight) << macro::buttonRelease(2)
              << macro::move(-5, 0) << macro::move(0, 120);
    QVERIFY(saveMacro("round", m));
    const Macro back = loadMacro("round");
    QVERIFY(back.settings == m.settings);
    QCOMPARE(back.actions, m.actions);
    QCOMPARE(readStoredActions("round"), m.actions);
    QCOMPARE(readStoredCount("round"), 7);
    QVERIFY(macroFileExists("round"));
}

void TestMacroFile::fileCarriesTheDocumentedKeys()
{
    Macro m;
    m.actions << macro::move(-5, 0);
    QVERIFY(saveMacro("keys", m));
    QSettings s(macroFile("keys"), QSettings::IniFormat);
    s.beginGroup("Setting");
    QCOMPARE(s.value("MacroFilePath").toString(), macroFile("keys"));
    QCOMPARE(s.value("DefaultDelay").toInt(), 10);
    QCOMPARE(s.value("DelayType").toInt(), 0);
    QCOMPARE(s.value("LoopType").toInt(), 0);
    QCOMPARE(s.value("LoopTime").toInt(), 1);
    QCOMPARE(s.value("Count").toInt(), 1);
    QCOMPARE(s.value("Map_0").toInt(), 2);
    QCOMPARE(s.value("DataH_0").toInt(), 0);
    QCOMPARE(s.value("DataL_0").toInt(), 251);
    QCOMPARE(s.value("WriteSign").toInt(), 1);
    QVERIFY(QFile::exists(QDir(configDir()).filePath("MacroDB/keys.MSMACRO")));
}

void TestMacroFile::overwritingDropsOldActions()
{
    Macro m;
    for (int i = 0; i < 10; ++i)
        m.actions << macro::keyPress(uint8_t(4 + i));
    QVERIFY(saveMacro("over", m));
    m.actions.resize(2);
    QVERIFY(saveMacro("over", m));
    QSettings s(macroFile("over"), QSettings::IniFormat);
    QVERIFY(!s.contains("Setting/Map_5"));
    QCOMPARE(loadMacro("over").actions.size(), 2);
}

void TestMacroFile::readerRebuildsByKind_data()
{
    QTest::addColumn<int>("map");
    QTest::addColumn<int>("dataH");
    QTest::addColumn<int>("dataL");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<MacroAction>("rebuilt");
    QTest::newRow("key press") << 132 << 7 << 4 << true << MacroAction{0x84, 0, 4};
    QTest::newRow("key release") << 4 << 7 << 4 << true << MacroAction{0x04, 0, 4};
    QTest::newRow("stored 129 is a press") << 129 << 0 << 1 << true << MacroAction{0x81, 0, 1};
    QTest::newRow("stored 1 is a release") << 1 << 0 << 16 << true << MacroAction{0x01, 0, 16};
    QTest::newRow("button with DataH") << 129 << 9 << 8 << true << MacroAction{0x81, 0, 8};
    QTest::newRow("unknown button bit") << 129 << 0 << 3 << false << MacroAction{};
    QTest::newRow("no button bit") << 1 << 0 << 0 << false << MacroAction{};
    QTest::newRow("move left") << 2 << 0 << 251 << true << MacroAction{2, 0, 251};
    QTest::newRow("move up") << 2 << 136 << 0 << true << MacroAction{2, 136, 0};
    QTest::newRow("move both axes") << 2 << 5 << 5 << true << MacroAction{2, 0, 0};
    QTest::newRow("move beyond limit") << 2 << 0 << 121 << true << MacroAction{2, 0, 136};
    QTest::newRow("move press bit dropped") << 130 << 3 << 0 << true << MacroAction{2, 3, 0};
    QTest::newRow("delay copied") << 6 << 1 << 44 << true << MacroAction{6, 1, 44};
    QTest::newRow("delay with press bit copied") << 134 << 0 << 2 << true << MacroAction{134, 0, 2};
    QTest::newRow("kind 0") << 0 << 1 << 1 << false << MacroAction{};
    QTest::newRow("kind 3") << 3 << 1 << 1 << false << MacroAction{};
    QTest::newRow("map 300 clamps to 255") << 300 << 0 << 1 << false << MacroAction{};
    QTest::newRow("bytes beyond 255") << 4 << 999 << 999 << true << MacroAction{0x04, 0, 255};
    QTest::newRow("negative bytes") << 132 << -1 << -5 << true << MacroAction{0x84, 0, 0};
}

void TestMacroFile::readerRebuildsByKind()
{
    QFETCH(int, map);
    QFETCH(int, dataH);
    QFETCH(int, dataL);
    QFETCH(bool, kept);
    QFETCH(MacroAction, rebuilt);
    const QString name = QString("kind_%1").arg(QTest::currentDataTag()).replace(' ', '_');
    writeRaw(name, oneAction(map, dataH, dataL));
    const Macro m = loadMacro(name);
    QCOMPARE(m.actions.size(), kept ? 1 : 0);
    if (kept)
        QCOMPARE(m.actions.first(), rebuilt);
    // The raw read keeps the stored bytes (clamped into a byte) whatever their kind.
    const QVector<MacroAction> raw = readStoredActions(name);
    QCOMPARE(raw.size(), 1);
    QCOMPARE(int(raw.first().Map), qBound(0, map, 255));
    QCOMPARE(int(raw.first().DataH), qBound(0, dataH, 255));
    QCOMPARE(int(raw.first().DataL), qBound(0, dataL, 255));
}

void TestMacroFile::storedActionsAreRawAndBounded()
{
    Macro m;
    for (int i = 0; i < 70; ++i)
        m.actions << MacroAction{0x84, 0, uint8_t(i)};
    QVERIFY(saveMacro("seventy", m));
    QCOMPARE(readStoredActions("seventy").size(), 63);
    QCOMPARE(int(readStoredActions("seventy").last().DataL), 62);
    QCOMPARE(readStoredActions("seventy", 5).size(), 5);
    QCOMPARE(readStoredActions("seventy", -5).size(), 0);
    QCOMPARE(readStoredActions("seventy", 1000000).size(), 70);
    QCOMPARE(readStoredCount("seventy"), 70);
    QCOMPARE(loadMacro("seventy").actions.size(), 70); // the editor sees them all

    // Gaps in the stored actions read as zero bytes, as stored.
    writeRaw("gaps", "[Setting]\nCount=3\nMap_0=132\nDataL_0=4\nMap_2=4\nDataL_2=4\n");
    const QVector<MacroAction> raw = readStoredActions("gaps");
    QCOMPARE(raw.size(), 3);
    QCOMPARE(raw.at(1), MacroAction());
    QCOMPARE(loadMacro("gaps").actions.size(), 2); // the empty one has no kind

    // Only the keys a lookup finds count, however the file spells them: an escaped name is
    // read, a number with a leading zero is not that action's.
    writeRaw("spelled", "[Setting]\nCount=3\nMap%5F1=132\nDataL_01=9\nDataL_1=4\n");
    QCOMPARE(readStoredActions("spelled"),
             (QVector<MacroAction>{MacroAction(), {132, 0, 4}, MacroAction()}));
}

void TestMacroFile::hugeCountCostsNothing()
{
    writeRaw("huge", "[Setting]\nCount=2000000000\nMap_0=132\nDataL_0=4\nMap_1=4\nDataL_1=4\n"
                     "Map_1999999999=132\nDataL_1999999999=5\n");
    const Macro m = loadMacro("huge");
    QCOMPARE(m.actions.size(), 3);
    QCOMPARE(m.actions.last(), macro::keyPress(5));
    QCOMPARE(readStoredActions("huge").size(), 63);
    QCOMPARE(readStoredActions("huge", 1 << 30).size(), macro::kMaxReadActions);
    QVERIFY(readStoredCount("huge") <= macro::kMaxReadActions);

    writeRaw("bigindex", "[Setting]\nCount=5\nMap_2147483647=132\nDataL_2147483647=4\n");
    QCOMPARE(loadMacro("bigindex").actions.size(), 0);
    QCOMPARE(readStoredCount("bigindex"), 5);
}

void TestMacroFile::damagedSettingsAreClamped()
{
    writeRaw("settings", "[Setting]\nDefaultDelay=999999\nDelayType=7\nLoopType=-2\n"
                         "LoopTime=5000\nCount=abc\nMap_0=132\n");
    const Macro m = loadMacro("settings");
    QCOMPARE(m.settings.defaultDelay, 65535);
    QCOMPARE(m.settings.delayType, 0);
    QCOMPARE(m.settings.loopType, 0);
    QCOMPARE(m.settings.loopTime, 255);
    QCOMPARE(m.actions.size(), 0); // a Count that is no number is no count
    writeRaw("negcount", "[Setting]\nCount=-4\nMap_0=132\n");
    QCOMPARE(loadMacro("negcount").actions.size(), 0);
    QCOMPARE(readStoredActions("negcount").size(), 0);
    QCOMPARE(readStoredCount("negcount"), 0);
}

void TestMacroFile::missingKeysReadAsDefaults()
{
    writeRaw("bare", "[Setting]\nMap_0=132\nDataL_0=4\n");
    const Macro m = loadMacro("bare");
    QVERIFY(m.settings == MacroSettings());
    QCOMPARE(m.actions.size(), 0); // no Count: an empty macro
    QCOMPARE(readStoredCount("bare"), 0);
    writeRaw("garbage", QByteArray("\x00\xff\x01[[[=\n==\n", 12));
    QCOMPARE(loadMacro("garbage").actions.size(), 0);
    QCOMPARE(readStoredActions("garbage").size(), 0);
    QCOMPARE(loadMacro("absent").actions.size(), 0);
    QCOMPARE(readStoredActions("absent").size(), 0);
    QCOMPARE(readStoredCount("absent"), 0);
    QVERIFY(!macroFileExists("absent"));
}

void TestMacroFile::unsafeNamesTouchNoFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "../Config";
    QTest::newRow("slash") << "sub/name";
    QTest::newRow("backslash") << "sub\\name";
    QTest::newRow("dotdot") << "..";
    QTest::newRow("empty") << "";
    QTest::newRow("colon") << "C:name";
}

void TestMacroFile::unsafeNamesTouchNoFile()
{
    QFETCH(QString, name);
    // A macro file one level up: a traversal must neither read nor overwrite it.
    QDir().mkpath(macroDir());
    QFile outside(QDir(macroDir()).filePath("../Config.MSMACRO"));
    QVERIFY(outside.open(QIODevice::WriteOnly));
    outside.write(oneAction(132, 0, 4));
    outside.close();
    QVERIFY(!saveMacro(name, Macro()));
    QCOMPARE(loadMacro(name).actions.size(), 0);
    QCOMPARE(readStoredActions(name).size(), 0);
    QVERIFY(!macroFileExists(name));
    QVERIFY(outside.open(QIODevice::ReadOnly));
    QCOMPARE(outside.readAll(), oneAction(132, 0, 4));
}

void TestMacroFile::oversizedFileIsNotParsed()
{
    QByteArray big = oneAction(132, 0, 4);
    big.append(QByteArray(int(macro::kMaxFileSize), ';'));
    writeRaw("big", big);
    QCOMPARE(loadMacro("big").actions.size(), 0);
    QCOMPARE(readStoredActions("big").size(), 0);
}

// Macro files are imported from anywhere. One holding a typed value whose stream form claims two
// billion list entries would make QSettings reserve gigabytes and end the program: it reads as
// an empty macro, its edit mark is not consumed (the file stays as it is), and saving the macro
// under that name replaces it.
void TestMacroFile::unboundedTypedValueReadsAsEmpty()
{
    const QByteArray hostile =
        oneAction(132, 0, 4) + "WriteSign=1\nx=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n";
    writeRaw("hostile", hostile);
    QCOMPARE(loadMacro("hostile").actions.size(), 0);
    QCOMPARE(readStoredActions("hostile").size(), 0);
    QCOMPARE(readStoredCount("hostile"), 0);

    ProfileStore store;
    store.profiles[0].buttons[0].Fun = 200;
    store.profiles[0].buttons[0].macroname = QStringLiteral("hostile");
    QCOMPARE(ComputeChangeMask(store, store), 0);
    QFile f(macroFile("hostile"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), hostile);
    f.close();

    Macro m;
    m.actions = {macro::keyPress(4)};
    QVERIFY(saveMacro("hostile", m));
    QCOMPARE(loadMacro("hostile").actions, m.actions);
}

// QSettings finds a group by comparing names, so a group whose name sorts between [Setting] and
// its keys ("[Setting\\]", read as "Setting//", or an open quote run on by a bare carriage
// return) hid the macro's keys from it while our own reader saw them. Both inputs were found by
// the macro file fuzzer.
void TestMacroFile::groupHeadersHideNoActions()
{
    writeRaw("sorted", "[Setting\\]\nx=1\n[Setting]\nCount=2\nMap_0=4\nDataH_0=0\nDataL_0=5\n"
                       "Map_1=132\nDataL_1=5\n");
    QCOMPARE(readStoredCount("sorted"), 2);
    const QVector<MacroAction> stored{{4, 0, 5}, {132, 0, 5}};
    QCOMPARE(readStoredActions("sorted"), stored);
    QCOMPARE(loadMacro("sorted").actions,
             (QVector<MacroAction>{macro::keyRelease(5), macro::keyPress(5)}));

    writeRaw("quote", "[Setting]\nCount=1\nMap_0=132\nDataL_0=5\n[Setting/\"\rCount=0\n");
    QCOMPARE(readStoredCount("quote"), 1);
    QCOMPARE(readStoredActions("quote"), QVector<MacroAction>{stored.at(1)});
    QCOMPARE(loadMacro("quote").actions, QVector<MacroAction>{macro::keyPress(5)});
}

QTEST_GUILESS_MAIN(TestMacroFile)
#include "test_macrofile.moc"
