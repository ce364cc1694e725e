// mousecfg-cli's writing commands run as a user runs them, against the emulated mouse of each
// mode: apply with its trace, a sleeping mouse, a silent mouse, no mouse, a data folder it cannot
// read or save to, a product whose name cannot be a folder; select-profile and its argument
// checks; watch until interrupted.
#include "clirun.h"
#include "device/writeresult.h"
#include "profile/inifile.h"
#include "profile/profiledefaults.h"
#include "profile/profilefile.h"
#include "profile/profilestore.h"
#include "profile/settings.h"
#include "writefixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using namespace mc;
using namespace mc::test;

namespace {

using Run = CliRun;

QStringList written(const QStringList &lines)
{
    return lines.filter(QRegularExpression("^> "));
}

QString commandOf(const QString &traceLine)
{
    return traceLine.mid(2).split(' ').value(3);
}

} // namespace

class TestCliWrite : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void applyTracesTheWholeExchange();
    void applyWhileThePointerMoves();
    void applyToASleepingMouseWritesOnlyTheQuery();
    void applyToASilentMouseFails();
    void applyWithoutAMouse();
    void applyRefusesAnUnreadableConfig();
    void applyReportsAFailedSave();
    void applyToAProductNamedWithASlash();
    void selectProfile();
    void selectProfileArguments_data();
    void selectProfileArguments();
    void watchRunsUntilInterrupted();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCliWrite::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeProductFiles(m_dir->path(), 3395, 6);
}

void TestCliWrite::applyTracesTheWholeExchange()
{
    const Run r = runCli(m_dir->path(), {"--emulate", "--trace", "apply"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.lines.last(), QString("Settings written to the mouse."));
    const QStringList out = written(r.lines);
    // The status query, then the bracket, general 2, buttons 7, DPI 10, lighting 5, commit 5,
    // bracket; no macro is assigned in the data folder.
    QCOMPARE(out.first(), QString("> 05 24 fa 48") + QString(" 00").repeated(29));
    QStringList commands;
    for (const QString &l : out)
        commands << commandOf(l);
    QCOMPARE(commands.join(' '),
             QString("48 46 01 01 03 03 03 03 03 03 03 02 02 02 02 02 02 02 02 02 02 "
                     "04 04 04 04 04 40 40 40 40 40 46"));
    // Every verified command was answered by its echo.
    for (int i = 0; i < r.lines.size() - 1; ++i) {
        if (r.lines[i].startsWith("> ") && commandOf(r.lines[i]) != "48")
            QCOMPARE(r.lines[i + 1].mid(2, 11), r.lines[i].mid(2, 11));
    }
}

void TestCliWrite::applyWhileThePointerMoves()
{
    // The receiver's node brings the pointer's reports at 1000 Hz to the handle the commands
    // use: the same reports are written, each once, and the mouse takes them all.
    const Run still = runCli(m_dir->path(), {"--emulate", "--trace", "apply"});
    const Run moving =
        runCli(m_dir->path(), {"--emulate", "--trace", "apply"}, {"MOUSECFG_EMULATE_MOTION=1000"});
    QCOMPARE(moving.exitCode, 0);
    QCOMPARE(moving.lines.last(), QString("Settings written to the mouse."));
    QCOMPARE(written(moving.lines), written(still.lines));
    QVERIFY(moving.lines.filter(QRegularExpression("^< 01 ")).size() > 0); // it did move
}

void TestCliWrite::applyToASleepingMouseWritesOnlyTheQuery()
{
    const Run r = runCli(m_dir->path(), {"--emulate=off", "--trace", "apply"});
    QCOMPARE(r.exitCode, 5);
    QCOMPARE(r.lines.last(), QString("Mouse is sleeping or not connected."));
    QCOMPARE(written(r.lines).size(), 1);
    QCOMPARE(commandOf(written(r.lines).first()), QString("48"));
}

void TestCliWrite::applyToASilentMouseFails()
{
    const Run r = runCli(m_dir->path(), {"--emulate=silent", "apply"});
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.lines.last(), QString("Send data failed, please try again."));
    QSettings c(appSettingsFile(), QSettings::IniFormat);
    QCOMPARE(c.value("Config/Diff").toInt(), 1); // the next write sends everything
}

void TestCliWrite::applyWithoutAMouse()
{
    const Run r = runCli(m_dir->path(), {"--emulate=none", "--trace", "apply"});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.lines.last(), QString("No mouse is present."));
    QVERIFY(written(r.lines).isEmpty());
}

void TestCliWrite::applyRefusesAnUnreadableConfig()
{
    // Config.ini grown past any settings file of ours: neither it nor any slot file is written,
    // and nothing reaches the mouse.
    QFile f(appSettingsFile());
    QVERIFY(f.open(QIODevice::Append));
    f.write(QByteArray(int(IniFile::kMaxFileSize), ';'));
    f.close();
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    const Run r = runCli(m_dir->path(), {"--emulate", "--trace", "apply"});
    QCOMPARE(r.exitCode, int(kStoreUnreadable));
    QCOMPARE(r.lines.last(), writeResultText(kStoreUnreadable));
    QVERIFY(written(r.lines).isEmpty());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == before);
    QVERIFY(QDir(configDir()).entryList({"*"}, QDir::Dirs | QDir::NoDotAndDotDot).size() == 1);
}

void TestCliWrite::applyReportsAFailedSave()
{
    // A file where the product's profile folder goes: the slot files cannot be written.
    QVERIFY(QDir().mkpath(productDir()));
    QFile blocker(profileDir());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Run r = runCli(m_dir->path(), {"--emulate", "--trace", "apply"});
    QCOMPARE(r.exitCode, int(kSaveFailed));
    QCOMPARE(r.lines.last(), writeResultText(kSaveFailed));
    QCOMPARE(written(r.lines).size(), 1); // the status query, nothing of the settings
    QCOMPARE(readDiff(), 1);
}

void TestCliWrite::applyToAProductNamedWithASlash()
{
    // The emulated mouse takes its name from Config.ini; only the folder needs another form.
    const QString product = QStringLiteral("Mouse 4K/8K");
    writeProductFiles(m_dir->path(), 3395, 6, 0, {},
                      {{"Mouse_List/0", product}, {"Config/CurrentProductName", product}});
    const QString folder = m_dir->filePath("Configs/Mouse 4K_8K/Profile");
    ProfileData planted;
    BuildDefaultProfile(planted);
    planted.pollrate = 8;
    planted.ProfileName = QStringLiteral("planted");
    QVERIFY(WriteProfileFile(planted, folder + "/Profile 1.prof"));

    const Run r = runCli(m_dir->path(), {"--emulate", "apply"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.lines.last(), QString("Settings written to the mouse."));
    QCOMPARE(QSettings(appSettingsFile(), QSettings::IniFormat)
                 .value("Config/CurrentProductName")
                 .toString(),
             product);
    QCOMPARE(QDir(folder).entryList({"*.prof"}, QDir::Files).size(), 5);
    ProfileData read;
    ReadProfileFile(read, folder + "/Profile 1.prof");
    QVERIFY(read == planted);
    QVERIFY(!QFileInfo::exists(m_dir->filePath("Configs/Profile")));
    QVERIFY(!QFileInfo::exists(m_dir->filePath("Configs/Mouse 4K")));
}

void TestCliWrite::selectProfile()
{
    const Run r = runCli(m_dir->path(), {"--emulate", "--trace", "select-profile", "3"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.lines.last(), QString("Profile 3 selected."));
    const QStringList out = written(r.lines);
    QCOMPARE(out.size(), 7);
    QVERIFY(out[0].startsWith("> 05 26 fa 44 02 00")); // slot 2, no answer read
    QVERIFY(out[1].startsWith("> 05 48 fa 40 f3 01"));
    QSettings c(appSettingsFile(), QSettings::IniFormat);
    QCOMPARE(c.value("Config/ProfileID").toInt(), 2);
}

void TestCliWrite::selectProfileArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("zero") << QStringList{"0"};
    QTest::newRow("six") << QStringList{"6"};
    QTest::newRow("not a number") << QStringList{"two"};
    QTest::newRow("missing") << QStringList{};
    QTest::newRow("two numbers") << QStringList{"1", "2"};
}

void TestCliWrite::selectProfileArguments()
{
    QFETCH(QStringList, args);
    const Run r =
        runCli(m_dir->path(), QStringList{"--emulate", "--trace", "select-profile"} + args);
    QCOMPARE(r.exitCode, 64);
    QVERIFY(written(r.lines).isEmpty());
}

void TestCliWrite::watchRunsUntilInterrupted()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("MOUSECFG_EMULATE");
    p.setProcessEnvironment(env);
    p.start(MOUSECFG_CLI_PATH, {"--data-dir", m_dir->path(), "--emulate", "watch"});
    QVERIFY(p.waitForStarted());
    QString out;
    QTRY_VERIFY_WITH_TIMEOUT(
        (out += QString::fromUtf8(p.readAllStandardOutput())).contains("Status: battery"), 10000);
    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(out.contains("Status: battery 90% (4125 mV), charging no"));
    QVERIFY(out.contains("Write state: 1"));
}

QTEST_GUILESS_MAIN(TestCliWrite)
#include "test_cliwrite.moc"
