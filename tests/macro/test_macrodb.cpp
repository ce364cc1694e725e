// The macro list and whole-macro operations: slot reuse, unique names, rename, delete, import
// and export, and names that try to leave the macro folder.
#include "macro/macrodb.h"
#include "macro/macrolist.h"
#include "profile/paths.h"
#include "tests/profile/tmpfsmount.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;

namespace {

void setSlot(int slot, const QString &name)
{
    QSettings(appSettingsFile(), QSettings::IniFormat)
        .setValue(QString("MACRO_LIST/%1").arg(slot), name);
}

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Macro oneKey(uint8_t usage)
{
    Macro m;
    m.actions << macro::keyPress(usage) << macro::keyRelease(usage);
    return m;
}

} // namespace

class TestMacroDb : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void listTakesFirstEmptySlotAndKeepsPositions();
    void listSkipsUnsafeEntriesAndRefusesWhenFull();
    void createNamesAfterMacroAndReusesSlots();
    void createRefusesBeyondFifty();
    void createWithNameIsUnique();
    void rename_data();
    void rename();
    void renameMovesFileAndSlot();
    void fullDiskKeepsTheMacro();
    void deleteRemovesFileAndSlot();
    void deleteRefusesUnsafeNames();
    void importSingle();
    void importRefusesUnsafeOrOversizedFiles_data();
    void importRefusesUnsafeOrOversizedFiles();
    void importBatchKeepsExistingFilesButListsThem();
    void exportSingleAndBatch();
    void outcomeTexts();

private:
    QString sourceFile(const QString &fileName, const QByteArray &content);
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestMacroDb::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    setAppDir(m_dir->path() + "/app");
    QVERIFY(QDir().mkpath(configDir()));
}

QString TestMacroDb::sourceFile(const QString &fileName, const QByteArray &content)
{
    const QString dir = m_dir->path() + "/elsewhere";
    QDir().mkpath(dir);
    const QString path = dir + "/" + fileName;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

void TestMacroDb::listTakesFirstEmptySlotAndKeepsPositions()
{
    QCOMPARE(addToMacroList("a"), 0);
    QCOMPARE(addToMacroList("b"), 1);
    QCOMPARE(addToMacroList("c"), 2);
    QCOMPARE(addToMacroList("b"), 1); // already listed: no second copy
    QCOMPARE(removeFromMacroList("b"), 1);
    QCOMPARE(macroListSlots().at(1), QString());
    QCOMPARE(macroListSlots().at(2), QString("c"));
    QCOMPARE(macroNames(), (QStringList{"a", "c"}));
    QCOMPARE(addToMacroList("d"), 1);
    QCOMPARE(macroNames(), (QStringList{"a", "d", "c"}));
    QCOMPARE(removeFromMacroList("nothere"), -1);
    QCOMPARE(macroCount(), 3);
}

void TestMacroDb::listSkipsUnsafeEntriesAndRefusesWhenFull()
{
    setSlot(0, "../../etc/passwd");
    setSlot(1, "ok");
    QCOMPARE(macroNames(), QStringList{"ok"});
    QCOMPARE(macroCount(), 1);
    QCOMPARE(addToMacroList("a/b"), -1);
    for (int i = 2; i < 50; ++i)
        setSlot(i, QString("m%1").arg(i));
    QCOMPARE(freeMacroSlot(), -1);
    QCOMPARE(addToMacroList("more"), -1);
    QCOMPARE(macroListSlots().size(), 50);
}

void TestMacroDb::createNamesAfterMacroAndReusesSlots()
{
    for (int i = 1; i <= 5; ++i) {
        const MacroResult r = createMacro();
        QCOMPARE(r.outcome, MacroOutcome::Done);
        QCOMPARE(r.name, QString("MACRO_%1").arg(i));
    }
    const Macro fresh = loadMacro("MACRO_1");
    QCOMPARE(fresh.settings.defaultDelay, 10);
    QCOMPARE(fresh.settings.loopTime, 1);
    QVERIFY(fresh.actions.isEmpty());

    QCOMPARE(deleteMacro("MACRO_4"), MacroOutcome::Done); // slot 3
    QCOMPARE(macroListSlots().at(3), QString());
    const MacroResult next = createMacro();
    QCOMPARE(next.name, QString("MACRO_4")); // its file is gone, so the name is free again
    QCOMPARE(macroListSlots().at(3), QString("MACRO_4"));
    QCOMPARE(macroListSlots().at(4), QString("MACRO_5"));
}

void TestMacroDb::createRefusesBeyondFifty()
{
    for (int i = 0; i < 50; ++i)
        setSlot(i, QString("m%1").arg(i));
    QCOMPARE(createMacro().outcome, MacroOutcome::TooMany);
    QCOMPARE(createMacro("gun", oneKey(4)).outcome, MacroOutcome::TooMany);
    QVERIFY(!QFile::exists(macroFile("MACRO_1")));
    QVERIFY(!QFile::exists(macroFile("gun")));
}

void TestMacroDb::createWithNameIsUnique()
{
    QCOMPARE(createMacro("gun", oneKey(4)).name, QString("gun"));
    QCOMPARE(createMacro("gun", oneKey(5)).name, QString("gun_2"));
    QCOMPARE(loadMacro("gun").actions.first(), macro::keyPress(4));
    QCOMPARE(loadMacro("gun_2").actions.first(), macro::keyPress(5));
    QCOMPARE(macroNames(), (QStringList{"gun", "gun_2"}));
    QCOMPARE(createMacro("a/gun", oneKey(4)).outcome, MacroOutcome::InvalidName);
    setSlot(10, "lost"); // listed, file missing: the name is still taken
    QCOMPARE(createMacro("lost", oneKey(4)).name, QString("lost_2"));
    QCOMPARE(macroListSlots().count("lost"), 1);
}

void TestMacroDb::rename_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("result");
    QTest::newRow("free name") << "fresh" << int(MacroOutcome::Done) << "fresh";
    QTest::newRow("taken name") << "taken" << int(MacroOutcome::Done) << "taken_3";
    QTest::newRow("same name") << "mine" << int(MacroOutcome::Unchanged) << "mine";
    QTest::newRow("separator") << "../mine" << int(MacroOutcome::InvalidName) << "mine";
    QTest::newRow("backslash") << "x\\mine" << int(MacroOutcome::InvalidName) << "mine";
    QTest::newRow("empty") << "" << int(MacroOutcome::InvalidName) << "mine";
}

void TestMacroDb::rename()
{
    QFETCH(QString, to);
    QFETCH(int, outcome);
    QFETCH(QString, result);
    QVERIFY(createMacro("mine", oneKey(7)).outcome == MacroOutcome::Done);
    QVERIFY(createMacro("taken", oneKey(8)).outcome == MacroOutcome::Done);
    QVERIFY(createMacro("taken_2", oneKey(9)).outcome == MacroOutcome::Done);
    const MacroResult r = renameMacro("mine", to);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(r.name, result);
    QCOMPARE(loadMacro(result).actions.first(), macro::keyPress(7));
    QCOMPARE(loadMacro("taken").actions.first(), macro::keyPress(8)); // never overwritten
    QCOMPARE(loadMacro("taken_2").actions.first(), macro::keyPress(9));
}

void TestMacroDb::renameMovesFileAndSlot()
{
    createMacro("one", oneKey(4));
    createMacro("two", oneKey(5));
    createMacro("three", oneKey(6));
    QCOMPARE(renameMacro("two", "second").outcome, MacroOutcome::Done);
    QCOMPARE(macroNames(), (QStringList{"one", "second", "three"}));
    QVERIFY(!QFile::exists(macroFile("two")));
    QSettings s(macroFile("second"), QSettings::IniFormat);
    QCOMPARE(s.value("Setting/MacroFilePath").toString(), macroFile("second"));
    QCOMPARE(renameMacro("ghost", "x").outcome, MacroOutcome::NotFound);
    QCOMPARE(macroNames(), (QStringList{"one", "second", "three"}));
}

// With no room left, a rename or a save fails with the file and the reason, and the macro file
// and the list are exactly as they were: never a macro emptied behind a rename shown as done.
void TestMacroDb::fullDiskKeepsTheMacro()
{
    mctest::TmpfsMount disk(1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.whyNot()));
    setAppDir(disk.path() + "/app");
    QVERIFY(QDir().mkpath(configDir()));
    QCOMPARE(createMacro("one", oneKey(4)).outcome, MacroOutcome::Done);
    const QByteArray macroBefore = contentOf(macroFile("one"));
    const QByteArray listBefore = contentOf(appSettingsFile());
    QVERIFY(!macroBefore.isEmpty());
    QVERIFY(disk.fillLeaving(0));

    const MacroResult renamed = renameMacro("one", "first");
    QCOMPARE(renamed.outcome, MacroOutcome::Failed);
    QVERIFY2(renamed.reason.contains("No space left on device"), qPrintable(renamed.reason));
    QCOMPARE(contentOf(macroFile("one")), macroBefore);
    QVERIFY(!QFile::exists(macroFile("first")));
    QCOMPARE(contentOf(appSettingsFile()), listBefore);

    Macro longer = oneKey(5);
    for (int i = 0; i < 200; ++i)
        longer.actions << macro::keyPress(6) << macro::keyRelease(6);
    const SaveResult saved = saveMacro("one", longer);
    QVERIFY(!saved.ok());
    QVERIFY2(saved.message().contains(macroFile("one")), qPrintable(saved.message()));
    QCOMPARE(contentOf(macroFile("one")), macroBefore);
    setAppDir(m_dir->path() + "/app");
}

void TestMacroDb::deleteRemovesFileAndSlot()
{
    createMacro("one", oneKey(4));
    createMacro("two", oneKey(5));
    QCOMPARE(deleteMacro("one"), MacroOutcome::Done);
    QVERIFY(!QFile::exists(macroFile("one")));
    QCOMPARE(macroListSlots().at(0), QString());
    QCOMPARE(macroListSlots().at(1), QString("two"));
    QCOMPARE(deleteMacro("one"), MacroOutcome::NotFound);
    setSlot(5, "listed_only"); // a list entry whose file was lost still goes
    QCOMPARE(deleteMacro("listed_only"), MacroOutcome::Done);
    QCOMPARE(macroListSlots().at(5), QString());
}

void TestMacroDb::deleteRefusesUnsafeNames()
{
    const QString victim = QDir(configDir()).filePath("Config.MSMACRO");
    QFile f(victim);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    setSlot(0, "../Config");
    QCOMPARE(deleteMacro("../Config"), MacroOutcome::InvalidName);
    QVERIFY(QFile::exists(victim));
    QCOMPARE(exportMacro("../Config", m_dir->path() + "/out.MSMACRO", true),
             MacroOutcome::InvalidName);
    QVERIFY(!QFile::exists(m_dir->path() + "/out.MSMACRO"));
}

void TestMacroDb::importSingle()
{
    const QString src = sourceFile("shot.MSMACRO", "[Setting]\nCount=1\nMap_0=132\nDataL_0=4\n");
    MacroResult r = importMacro(src);
    QCOMPARE(r.outcome, MacroOutcome::Done);
    QCOMPARE(r.name, QString("shot"));
    QCOMPARE(macroNames(), QStringList{"shot"});
    QCOMPARE(loadMacro("shot").actions.size(), 1);

    // The same name again: the macro in the database is kept as it is.
    const QString other = sourceFile("sub_shot.MSMACRO", "[Setting]\nCount=0\n");
    QVERIFY(QFile::rename(other, QFileInfo(other).absolutePath() + "/../shot.MSMACRO"));
    r = importMacro(m_dir->path() + "/shot.MSMACRO");
    QCOMPARE(r.outcome, MacroOutcome::Exists);
    QCOMPARE(loadMacro("shot").actions.size(), 1);
    QCOMPARE(macroNames(), QStringList{"shot"});

    // A name with dots keeps all of them, so the list names the file that was copied.
    r = importMacro(sourceFile("my.burst.MSMACRO", "[Setting]\nCount=0\n"));
    QCOMPARE(r.outcome, MacroOutcome::Done);
    QCOMPARE(r.name, QString("my.burst"));
    QVERIFY(QFile::exists(macroFile("my.burst")));
    QCOMPARE(importMacro(m_dir->path() + "/none.MSMACRO").outcome, MacroOutcome::NotFound);

    for (int i = 0; i < 50; ++i)
        setSlot(i, QString("m%1").arg(i));
    QCOMPARE(importMacro(sourceFile("late.MSMACRO", "x")).outcome, MacroOutcome::TooMany);
    QVERIFY(!QFile::exists(macroFile("late")));
}

void TestMacroDb::importRefusesUnsafeOrOversizedFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("outcome");
    QTest::newRow("backslash in name")
        << "..\\Config.MSMACRO" << 10 << int(MacroOutcome::InvalidName);
    QTest::newRow("colon in name") << "C:x.MSMACRO" << 10 << int(MacroOutcome::InvalidName);
    QTest::newRow("no base name") << ".MSMACRO" << 10 << int(MacroOutcome::InvalidName);
    QTest::newRow("oversized") << "big.MSMACRO" << int(macro::kMaxFileSize) + 1
                               << int(MacroOutcome::NotAMacro);
}

void TestMacroDb::importRefusesUnsafeOrOversizedFiles()
{
    QFETCH(QString, fileName);
    QFETCH(int, size);
    QFETCH(int, outcome);
    const QString src = sourceFile(fileName, QByteArray(size, ';'));
    QVERIFY(QFile::exists(src));
    QCOMPARE(int(importMacro(src).outcome), outcome);
    QCOMPARE(int(importMacros({src}).first().outcome), outcome);
    QCOMPARE(macroCount(), 0);
    QVERIFY(QDir(macroDir()).entryList(QDir::Files).isEmpty());
    QVERIFY(!QFile::exists(QDir(configDir()).filePath("Config.MSMACRO")));
}

void TestMacroDb::importBatchKeepsExistingFilesButListsThem()
{
    QVERIFY(saveMacro("old", oneKey(9))); // in the folder but not listed
    const QStringList paths{sourceFile("old.MSMACRO", "[Setting]\nCount=0\n"),
                            sourceFile("new.MSMACRO", "[Setting]\nCount=0\n"),
                            sourceFile("bad\\name.MSMACRO", "x")};
    const QVector<MacroResult> r = importMacros(paths);
    QCOMPARE(r.size(), 3);
    QCOMPARE(r[0].outcome, MacroOutcome::Exists);
    QCOMPARE(r[1].outcome, MacroOutcome::Done);
    QCOMPARE(r[2].outcome, MacroOutcome::InvalidName);
    QCOMPARE(loadMacro("old").actions.size(), 2); // not overwritten
    QCOMPARE(macroNames(), (QStringList{"old", "new"}));
}

void TestMacroDb::exportSingleAndBatch()
{
    QVERIFY(saveMacro("one", oneKey(4)));
    QVERIFY(saveMacro("two", oneKey(5)));
    const QString target = m_dir->path() + "/exported.MSMACRO";
    QCOMPARE(exportMacro("one", target, false), MacroOutcome::Done);
    QCOMPARE(contentOf(target), contentOf(macroFile("one")));
    QCOMPARE(exportMacro("two", target, false), MacroOutcome::Exists);
    QCOMPARE(contentOf(target), contentOf(macroFile("one")));
    QCOMPARE(exportMacro("two", target, true), MacroOutcome::Done);
    QCOMPARE(contentOf(target), contentOf(macroFile("two")));
    QCOMPARE(exportMacro("ghost", target, true), MacroOutcome::NotFound);
    QCOMPARE(contentOf(target), contentOf(macroFile("two")));

    const QString folder = m_dir->path() + "/batch";
    QVERIFY(QDir().mkpath(folder));
    QFile keep(folder + "/two.MSMACRO");
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    const QVector<MacroResult> r = exportMacros({"one", "two", "../x"}, folder);
    QCOMPARE(r.size(), 3);
    QCOMPARE(r[0].outcome, MacroOutcome::Done);
    QCOMPARE(r[1].outcome, MacroOutcome::Exists);
    QCOMPARE(r[2].outcome, MacroOutcome::InvalidName);
    QCOMPARE(contentOf(folder + "/one.MSMACRO"), contentOf(macroFile("one")));
    QCOMPARE(contentOf(folder + "/two.MSMACRO"), QByteArray("mine"));
}

void TestMacroDb::outcomeTexts()
{
    QCOMPARE(macroOutcomeText(MacroOutcome::Exists), QString("Macro Exist!"));
    QCOMPARE(macroOutcomeTitle(MacroOutcome::Exists), QString("Warning"));
    QCOMPARE(macroOutcomeText(MacroOutcome::TooMany), QString("TOO MANY MACROS TO BE CREATE!"));
    QCOMPARE(macroOutcomeTitle(MacroOutcome::TooMany), QString("WARNING"));
    QVERIFY(macroOutcomeText(MacroOutcome::Done).isEmpty());
    QVERIFY(macroOutcomeText(MacroOutcome::Unchanged).isEmpty());
    for (MacroOutcome o : {MacroOutcome::InvalidName, MacroOutcome::NotFound,
                           MacroOutcome::NotAMacro, MacroOutcome::Failed})
        QVERIFY(!macroOutcomeText(o).isEmpty());
}

QTEST_GUILESS_MAIN(TestMacroDb)
#include "test_macrodb.moc"
