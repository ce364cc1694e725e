// mousecfg-cli's writing commands run as a user runs them, against the emulated mouse of each
// mode: apply with its trace, a sleeping mouse, a silent mouse, no mouse; select-profile and its
// argument checks; watch until interrupted.
#include "writefixture.h"

#include <QProcess>
#include <QtTest>

using namespace mc;
using namespace mc::test;

namespace {

struct Run
{
    int exitCode = -1;
    QStringList lines;
};

Run runCli(const QString &dataDir, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("MOUSECFG_EMULATE");
    env.remove("MOUSECFG_DATA_DIR");
    p.setProcessEnvironment(env);
    p.start(MOUSECFG_CLI_PATH, QStringList{"--data-dir", dataDir} + args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return r;
}

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
    void applyToASleepingMouseWritesOnlyTheQuery();
    void applyToASilentMouseFails();
    void applyWithoutAMouse();
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
