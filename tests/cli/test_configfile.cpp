// Configuration files through the real mousecfg-cli: export-config and import-config give back
// the data folder's settings, and a file of another product, an unreadable or hostile one never
// changes a file of the data folder.
#include "tests/devicewrite/clirun.h"
#include "tests/profile/tmpfsmount.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using mc::test::runCli;

class ConfigFileTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_data;
    QTemporaryDir m_files;

    QString data(const QString &rel) const { return m_data.filePath(rel); }
    QString file(const QString &name) const { return m_files.filePath(name); }
    QString slotFile(const QString &name) const
    {
        return data(QStringLiteral("Configs/Cfg Mouse/Profile/") + name + QStringLiteral(".prof"));
    }

    static void setValue(const QString &path, const QString &key, const QVariant &value)
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue(key, value);
    }
    static QVariant value(const QString &path, const QString &key)
    {
        return QSettings(path, QSettings::IniFormat).value(key);
    }

    // Every file below the data folder with a digest of its bytes.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(m_data.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly))
                files.insert(f.fileName(),
                             QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
        }
        return files;
    }

    QByteArray bytes(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QMap<QString, QByteArray> snapshotOf(const QString &dir)
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly))
                files.insert(f.fileName(), f.readAll());
        }
        return files;
    }

    static bool copyTree(const QString &from, const QString &to)
    {
        if (!QFileInfo(from).isDir())
            return QFile::copy(from, to);
        if (!QDir().mkpath(to))
            return false;
        for (const QString &name : QDir(from).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (!copyTree(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
                return false;
        }
        return true;
    }

    struct Outcome
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    static Outcome runWithErrors(const QString &dataDir, const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("MOUSECFG_EMULATE"));
        env.remove(QStringLiteral("MOUSECFG_DATA_DIR"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(MOUSECFG_CLI_PATH),
                QStringList{QStringLiteral("--data-dir"), dataDir} + args);
        Outcome o;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
            o.exitCode = p.exitCode();
        o.out = QString::fromUtf8(p.readAllStandardOutput());
        o.err = QString::fromUtf8(p.readAllStandardError());
        return o;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_data.isValid() && m_files.isValid());
        setValue(data(QStringLiteral("DefaultProfile.bin")), QStringLiteral("PROFILE/ProductName"),
                 QStringLiteral("Cfg Mouse"));
        const QString config = data(QStringLiteral("Configs/Config.ini"));
        setValue(config, QStringLiteral("Config/CurrentProductName"), QStringLiteral("Cfg Mouse"));
        setValue(config, QStringLiteral("Mouse_List/0"), QStringLiteral("Cfg Mouse"));
        setValue(config, QStringLiteral("Config/Debounce"), 12);
        setValue(config, QStringLiteral("Config/Profile2"), QStringLiteral("Sniper"));
        setValue(slotFile(QStringLiteral("Sniper")), QStringLiteral("PROFILE/pollrate"), 4);
        setValue(slotFile(QStringLiteral("Sniper")), QStringLiteral("PROFILE/LedSleepTime"), 7);
    }

    void exportThenImportGivesBackTheSettings()
    {
        const QString exported = file(QStringLiteral("mine.conf"));
        auto r = runCli(m_data.path(), {QStringLiteral("export-config"), exported});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(value(exported, QStringLiteral("MouseName/Name")).toString(),
                 QStringLiteral("Cfg Mouse"));
        QCOMPARE(value(exported, QStringLiteral("PROFILE_1/pollrate")).toInt(), 4);

        // The user changes things; the import brings back what was exported.
        const QString config = data(QStringLiteral("Configs/Config.ini"));
        setValue(config, QStringLiteral("Config/Debounce"), 3);
        setValue(config, QStringLiteral("Config/Diff"), 0);
        setValue(slotFile(QStringLiteral("Sniper")), QStringLiteral("PROFILE/pollrate"), 1);
        r = runCli(m_data.path(), {QStringLiteral("import-config"), exported});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(value(config, QStringLiteral("Config/Debounce")).toInt(), 12);
        QCOMPARE(value(config, QStringLiteral("Config/Profile2")).toString(),
                 QStringLiteral("Sniper"));
        QCOMPARE(
            value(slotFile(QStringLiteral("Sniper")), QStringLiteral("PROFILE/pollrate")).toInt(),
            4);
        // Not carried by exports: kept from before the import.
        QCOMPARE(value(slotFile(QStringLiteral("Sniper")), QStringLiteral("PROFILE/LedSleepTime"))
                     .toInt(),
                 7);
        // The mouse still holds the old settings: the next write from the window sends all.
        QCOMPARE(value(config, QStringLiteral("Config/Diff")).toInt(), 1);

        // Exported again, the same file comes out.
        const QString again = file(QStringLiteral("again.conf"));
        QCOMPARE(runCli(m_data.path(), {QStringLiteral("export-config"), again}).exitCode, 0);
        QCOMPARE(bytes(again), bytes(exported));
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("content"); // written after a valid export of this product
        QTest::addColumn<QString>("kind");       // "file", "folder" or "oversized"
        QTest::addColumn<QString>("message");
        QTest::newRow("another product") << QByteArray("[MouseName]\nName=Other Mouse\n") << "file"
                                         << "The file is not match current mouse!";
        QTest::newRow("no mark") << QByteArray("[Config]\nDebounce=1\n") << "file"
                                 << "The file is not match current mouse!";
        QTest::newRow("binary garbage")
            << QByteArray::fromHex("7f454c4602010000fffe5b0a3d0a") << "file"
            << "The file is not match current mouse!";
        QTest::newRow("a folder") << QByteArray() << "folder" << QString();
        QTest::newRow("missing") << QByteArray() << "missing" << QString();
        QTest::newRow("oversized, with the right mark")
            << QByteArray("[MouseName]\nName=Cfg Mouse\n") << "oversized" << QString();
    }

    void refusedFilesChangeNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        const QString path = file(QStringLiteral("refused.conf"));
        QFile::remove(path);
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
        } else if (kind != QLatin1String("missing")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
            if (kind == QLatin1String("oversized"))
                f.write(QByteArray(9 * 1024 * 1024, '\n'));
        }
        const auto before = snapshot();
        const auto r = runCli(m_data.path(), {QStringLiteral("import-config"), path});
        QCOMPARE(r.exitCode, 10);
        if (!message.isEmpty())
            QCOMPARE(r.lines, QStringList{message});
        QCOMPARE(snapshot(), before);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir(path).removeRecursively());
    }

    void hostileNamesStayInsideTheDataFolder()
    {
        // The right mark, but slot names that lead out of the folder and values out of range:
        // the names become the slots' default names, the values are clamped.
        const QString path = file(QStringLiteral("hostile.conf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[MouseName]\nName=Cfg Mouse\n[Config]\nProfileID=77\nProfile1=../../escaped\n"
                "Profile3=/tmp/escaped\n[PROFILE_0]\ndpi=999999\npollrate=-5\n");
        f.close();
        const auto r = runCli(m_data.path(), {QStringLiteral("import-config"), path});
        QCOMPARE(r.exitCode, 0);
        const QString config = data(QStringLiteral("Configs/Config.ini"));
        QCOMPARE(value(config, QStringLiteral("Config/Profile1")).toString(),
                 QStringLiteral("Profile 1"));
        QCOMPARE(value(config, QStringLiteral("Config/Profile3")).toString(),
                 QStringLiteral("Profile 3"));
        QCOMPARE(value(config, QStringLiteral("Config/ProfileID")).toInt(), 0);
        QVERIFY(!QFileInfo::exists(m_data.filePath(QStringLiteral("escaped.prof"))));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/escaped.prof")));
        QVERIFY(QFileInfo::exists(slotFile(QStringLiteral("Profile 1"))));
    }

    void exportNeverReplacesAFileItCouldNotRead()
    {
        const QString big = file(QStringLiteral("big.conf"));
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(9 * 1024 * 1024, 'x'));
        }
        auto r = runCli(m_data.path(), {QStringLiteral("export-config"), big});
        QCOMPARE(r.exitCode, 8);
        QCOMPARE(QFileInfo(big).size(), qint64(9 * 1024 * 1024));
        QCOMPARE(bytes(big).left(4), QByteArray("xxxx"));

        const QString folder = file(QStringLiteral("folder.conf"));
        QVERIFY(QDir().mkpath(folder));
        r = runCli(m_data.path(), {QStringLiteral("export-config"), folder});
        QCOMPARE(r.exitCode, 8);
        QVERIFY(QFileInfo(folder).isDir());
    }

    // The data folder and an exported file on a file system filled up to a few kilobytes. Each
    // command either does its whole work, or fails with a status that says so, names the file
    // and the reason, and leaves every file exactly as it was: never a success claimed over a
    // file cut short, never a change of some files of a save and not others.
    void fullDiskLosesNothing_data()
    {
        QTest::addColumn<int>("freeKb");
        for (const int kb : {0, 4, 16, 268})
            QTest::addRow("%d KB free", kb) << kb;
    }
    void fullDiskLosesNothing()
    {
        QFETCH(int, freeKb);
        mctest::TmpfsMount disk(4096);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.whyNot()));
        // A configuration that differs from the data folder in Config.ini and every slot file.
        const QString reference = file(QStringLiteral("reference.conf"));
        QFile::remove(reference);
        QCOMPARE(runCli(m_data.path(), {QStringLiteral("export-config"), reference}).exitCode, 0);
        QString text = QString::fromUtf8(bytes(reference));
        text.replace(QRegularExpression(QStringLiteral("\\nDebounce=\\d+")),
                     QStringLiteral("\nDebounce=5"));
        text.replace(QRegularExpression(QStringLiteral("\\npollrate=\\d+")),
                     QStringLiteral("\npollrate=2"));
        const QString wanted = file(QStringLiteral("wanted.conf"));
        {
            QFile f(wanted);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(text.toUtf8());
        }

        const QString data = disk.path() + QStringLiteral("/data");
        const QString config = data + QStringLiteral("/Configs/Config.ini");
        const QString outFolder = disk.path() + QStringLiteral("/out");
        const QString out = outFolder + QStringLiteral("/old.conf");
        const auto fresh = [&] {
            QFile::remove(disk.path() + QStringLiteral("/.filler"));
            QDir(data).removeRecursively();
            QDir(outFolder).removeRecursively();
            QVERIFY(copyTree(m_data.path(), data));
            QVERIFY(QDir().mkpath(outFolder));
            QVERIFY(QFile::copy(wanted, out)); // an older export, to be replaced
            QVERIFY(disk.fillLeaving(freeKb));
        };
        const auto refused = [&](const Outcome &o, const QMap<QString, QByteArray> &before,
                                 const QString &folder) {
            QVERIFY2(o.exitCode != 0, qPrintable(o.out));
            QVERIFY2(o.err.contains(QStringLiteral("No space left on device")), qPrintable(o.err));
            QCOMPARE(snapshotOf(folder), before);
        };

        fresh();
        if (QTest::currentTestFailed())
            return;
        auto before = snapshotOf(data);
        Outcome o = runWithErrors(data, {QStringLiteral("import-config"), wanted});
        if (o.exitCode == 0) {
            QVERIFY(freeKb > 0);
            QCOMPARE(value(config, QStringLiteral("Config/Debounce")).toInt(), 5);
            for (const QString &slot : {QStringLiteral("Profile 1"), QStringLiteral("Sniper")}) {
                const QString prof = data + QStringLiteral("/Configs/Cfg Mouse/Profile/") + slot +
                                     QStringLiteral(".prof");
                QCOMPARE(value(prof, QStringLiteral("PROFILE/pollrate")).toInt(), 2);
            }
        } else {
            QCOMPARE(o.exitCode, 8);
            refused(o, before, data);
        }

        fresh();
        if (QTest::currentTestFailed())
            return;
        before = snapshotOf(data);
        o = runWithErrors(data, {QStringLiteral("--emulate"), QStringLiteral("select-profile"),
                                 QStringLiteral("3")});
        if (o.exitCode == 0) {
            QCOMPARE(value(config, QStringLiteral("Config/ProfileID")).toInt(), 2);
        } else {
            QCOMPARE(o.exitCode, 8);
            refused(o, before, data);
            QVERIFY2(o.err.contains(QStringLiteral("Config.ini")), qPrintable(o.err));
        }

        before = snapshotOf(outFolder);
        o = runWithErrors(data, {QStringLiteral("export-config"), out});
        if (o.exitCode == 0) {
            QVERIFY(freeKb > 0);
            QCOMPARE(bytes(out), bytes(reference));
            QCOMPARE(QDir(outFolder).entryList(QDir::Files | QDir::Hidden).size(), 1);
        } else {
            QCOMPARE(o.exitCode, 8);
            refused(o, before, outFolder);
            QVERIFY2(o.err.contains(out), qPrintable(o.err));
        }
    }

    // A configuration file without the groups of some slots (here cut inside the group of slot
    // 3) changes only what it holds: the slots it lacks keep their buttons, rather than having
    // every button switched off for want of its keys.
    void cutConfigurationKeepsWhatItLacks()
    {
        const QString config = data(QStringLiteral("Configs/Config.ini"));
        const QString lastName = value(config, QStringLiteral("Config/Profile5")).toString();
        const QString lastSlot =
            slotFile(lastName.isEmpty() ? QStringLiteral("Profile 5") : lastName);
        const QString whole = file(QStringLiteral("whole.conf"));
        QFile::remove(whole);
        QCOMPARE(runCli(m_data.path(), {QStringLiteral("export-config"), whole}).exitCode, 0);
        // Imported whole first, so that every slot has its file; the last slot's first button
        // (a left click in a new profile) then made a middle click.
        QCOMPARE(runCli(m_data.path(), {QStringLiteral("import-config"), whole}).exitCode, 0);
        QByteArray last = bytes(lastSlot);
        QVERIFY(last.contains("\nBUTTON_INFO_0_Fun=1\n"));
        last.replace("\nBUTTON_INFO_0_Fun=1\n", "\nBUTTON_INFO_0_Fun=3\n");
        {
            QFile f(lastSlot);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(last);
        }
        const int button = 3;

        QByteArray text = bytes(whole);
        const int slot3 = text.indexOf("[PROFILE_2]");
        QVERIFY(slot3 > 0);
        // Cut there, the file would lose its mark at the end and be refused; with a mark it is
        // taken.
        text.truncate(slot3 + 200);
        text += "\n[MouseName]\nName=Cfg Mouse\n";
        text.replace(QByteArray("\nDebounce="), QByteArray("\nDebounce=4\nOld="));
        const QString cut = file(QStringLiteral("cut.conf"));
        {
            QFile f(cut);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(text);
        }
        QCOMPARE(runCli(m_data.path(), {QStringLiteral("import-config"), cut}).exitCode, 0);
        QCOMPARE(value(config, QStringLiteral("Config/Debounce")).toInt(), 4);
        QCOMPARE(value(lastSlot, QStringLiteral("PROFILE/BUTTON_INFO_0_Fun")).toInt(), button);
    }

    void usage()
    {
        for (const char *command : {"export-config", "import-config"}) {
            QCOMPARE(runCli(m_data.path(), {QLatin1String(command)}).exitCode, 64);
            QCOMPARE(runCli(m_data.path(), {QLatin1String(command), "a", "b"}).exitCode, 64);
        }
    }
};

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "test_configfile.moc"
