// mousecfg-cli's device commands run as a user runs them when the mouse is not the one they
// expect: a mouse that does not take a profile pick, a mouse of another product name than the
// one Config.ini asks for, a Config.ini that names no mouse at all.
#include "clirun.h"
#include "writefixture.h"

#include <QProcess>
#include <QtTest>

using namespace mc;
using namespace mc::test;

namespace {

using Run = CliRun;

} // namespace

class TestCliMouse : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void profilePickTheMouseDidNotTakeIsNotRecorded();
    void everyCommandNamesTheMouseOfAnotherProductAlike();
    void configWithoutAMouseNameListsNoMouse();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCliMouse::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestCliMouse::profilePickTheMouseDidNotTakeIsNotRecorded()
{
    writeProductFiles(m_dir->path(), 3395, 6, 0, {}, {{"Config/ProfileID", 1}});
    const Run r = runCli(m_dir->path(), {"--emulate=silent", "select-profile", "3"});
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.lines.value(r.lines.size() - 1), QString("Send data failed, please try again."));
    QSettings c(appSettingsFile(), QSettings::IniFormat);
    QCOMPARE(c.value("Config/ProfileID").toInt(), 1);
}

void TestCliMouse::everyCommandNamesTheMouseOfAnotherProductAlike()
{
    writeProductFiles(m_dir->path(), 3395, 6, 0, {},
                      {{"Config/CurrentProductName", "OtherMouse"}, {"Config/ProfileID", 1}});
    const QString why("The mouse present is \"WriteTestMouse\", not \"OtherMouse\" as "
                      "Config/CurrentProductName says; it was not opened.");
    for (const QStringList &command :
         {QStringList{"status"}, QStringList{"devices"}, QStringList{"select-profile", "2"}}) {
        const Run r = runCli(m_dir->path(), QStringList{"--emulate"} + command);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.lines.contains(why), qPrintable(r.lines.join('\n')));
    }
    QSettings c(appSettingsFile(), QSettings::IniFormat);
    QCOMPARE(c.value("Config/ProfileID").toInt(), 1);
}

void TestCliMouse::configWithoutAMouseNameListsNoMouse()
{
    writeProductFiles(m_dir->path(), 3395, 6, 0, {},
                      {{"Mouse_List/0", ""}, {"Config/CurrentProductName", ""}});
    const Run devices = runCli(m_dir->path(), {"--emulate", "devices"});
    QCOMPARE(devices.exitCode, 1);
    QCOMPARE(devices.lines, (QStringList{"Product: (Config.ini names no mouse in Mouse_List/0)",
                                         "No mouse is present."}));
    const Run status = runCli(m_dir->path(), {"--emulate", "status"});
    QCOMPARE(status.exitCode, 1);
    QCOMPARE(status.lines, QStringList{"No mouse is present."});
}

QTEST_GUILESS_MAIN(TestCliMouse)
#include "test_climouse.moc"
