// The display link with the real display program: a program that is not running is started and
// gets the newest message once it answers; the link never waits for it; the program shows each
// message, replaces it with the next, hides it after its time, ignores malformed blocks, keeps
// to one instance and ends by itself when idle.
#include "platform/osdlink.h"
#include "platform/runtimedir.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The display program started by a test, with what it printed so far.
class OsdProcess
{
public:
    OsdProcess() = default;
    OsdProcess(const OsdProcess &) = delete;
    OsdProcess &operator=(const OsdProcess &) = delete;
    ~OsdProcess()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    void start(const QString &server, const QStringList &extra = {})
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(MC_OSD_PATH),
                        QStringList{QStringLiteral("--print"), QStringLiteral("--server"), server} +
                            extra);
    }
    QStringList lines()
    {
        if (m_process.isOpen())
            m_output += m_process.readAllStandardOutput();
        return QString::fromUtf8(m_output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QByteArray m_output;
};

} // namespace

class TestOsdLink : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // The display's socket is looked up in the user's own runtime folder, never by a plain name
    // in the temporary folder, where another user could have put a socket of that name first.
    void serverLivesInTheUsersRuntimeFolder()
    {
        const QString dir = mc::userRuntimeDir();
        QVERIFY(!dir.isEmpty());
        QVERIFY(mc::osdServerName().startsWith(dir + QLatin1Char('/')));
    }

    // Announcing costs no waiting when there is no display program, and a burst of
    // announcements starts the program once, not once per message.
    void absentProgramNeverBlocks()
    {
        mc::OsdLink link;
        link.setServerName(m_dir.filePath(QStringLiteral("absent")));
        int launches = 0;
        link.setLauncher([&launches] {
            ++launches;
            return false;
        });
        QSignalSpy delivered(&link, &mc::OsdLink::delivered);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 10; ++i)
            link.announce(QStringLiteral("DPI 1:800"), Qt::red);
        QVERIFY2(clock.elapsed() < 500, "announcing waited for the display program");
        QTRY_COMPARE(launches, 1);
        QTest::qWait(100);
        QCOMPARE(launches, 1);
        QCOMPARE(delivered.count(), 0);
    }

    void startedProgramShowsTheNewestMessageThenHides()
    {
        const QString server = m_dir.filePath(QStringLiteral("osd1"));
        OsdProcess osd;
        mc::OsdLink link;
        link.setServerName(server);
        link.setLauncher([&] {
            osd.start(server);
            return true;
        });
        link.announce(QStringLiteral("DPI 2:1600"), Qt::red);
        link.announce(QStringLiteral("1000 HZ"), QColor(0, 255, 0));
        QTRY_VERIFY_WITH_TIMEOUT(
            osd.lines().contains(QStringLiteral("show 1500 #00ff00 60 Arial 1000 HZ")), 15000);
        link.announce(QStringLiteral("DPI 3:3200"), Qt::blue);
        const QStringList lastShownThenHidden{
            QStringLiteral("show 1500 #0000ff 60 Arial DPI 3:3200"), QStringLiteral("hide")};
        QTRY_COMPARE_WITH_TIMEOUT(osd.lines().mid(osd.lines().size() - 2), lastShownThenHidden,
                                  15000);
        QVERIFY2(!osd.lines().join(QLatin1Char('\n')).contains(QLatin1String("DPI 2:1600")),
                 "a message older than the newest was sent to a program still starting");

        // Another start with the same name leaves the messages to the running program.
        OsdProcess second;
        second.start(server);
        QVERIFY(second.process().waitForFinished(15000));
        QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.process().exitCode(), 0);

        // A malformed block from some other local process is skipped; the program goes on.
        QLocalSocket raw;
        raw.connectToServer(server);
        QVERIFY(raw.waitForConnected(5000));
        raw.write(QByteArray(mc::kOsdMessageSize, 'A')); // text without its terminator
        raw.write(mc::osdMessageBlock(QStringLiteral("after garbage"), Qt::white));
        QVERIFY(raw.waitForBytesWritten(5000));
        QTRY_VERIFY_WITH_TIMEOUT(
            osd.lines().contains(QStringLiteral("show 1500 #ffffff 60 Arial after garbage")),
            15000);
        QCOMPARE(osd.process().state(), QProcess::Running);
    }

    void idleProgramEndsByItself()
    {
        OsdProcess osd;
        osd.start(m_dir.filePath(QStringLiteral("osd2")),
                  {QStringLiteral("--idle-exit-ms"), QStringLiteral("200")});
        QVERIFY(osd.process().waitForFinished(15000));
        QCOMPARE(osd.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(osd.process().exitCode(), 0);
        QVERIFY(osd.lines().contains(QStringLiteral("ready")));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestOsdLink)
#include "test_osdlink.moc"
