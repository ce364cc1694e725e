// mousecfg-cli run as a separate process: what it prints, its exit statuses and the trace; the
// data folder option of both programs, and the seeding of an empty data folder.
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class CliTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    struct Run
    {
        int status = -1;
        QString out;
        QString err;
    };

    Run run(const QStringList &args, const QString &emulateEnv = QString())
    {
        return runIn(m_dir.path(), args, emulateEnv);
    }

    static Run runIn(const QString &dataDir, const QStringList &args,
                     const QString &emulateEnv = QString(),
                     const QString &program = QStringLiteral(MC_CLI_PATH))
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("MOUSECFG_EMULATE"));
        env.remove(QStringLiteral("MOUSECFG_DATA_DIR"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (!emulateEnv.isEmpty())
            env.insert(QStringLiteral("MOUSECFG_EMULATE"), emulateEnv);
        p.setProcessEnvironment(env);
        p.start(program, QStringList{"--data-dir", dataDir} + args);
        Run r;
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return r;
        r.status = p.exitCode();
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("Configs"));
        // IDs no real device carries, so that the hidapi run below cannot find one.
        QSettings d(m_dir.filePath(QStringLiteral("DefaultProfile.bin")), QSettings::IniFormat);
        d.setValue(QStringLiteral("PROFILE/vid1"), 0xFFF1);
        d.setValue(QStringLiteral("PROFILE/pid1"), 0xFA02);
        d.setValue(QStringLiteral("PROFILE/vid2"), 0xFFF1);
        d.setValue(QStringLiteral("PROFILE/pid2"), 0xFB01);
        d.sync();
        QSettings c(m_dir.filePath(QStringLiteral("Configs/Config.ini")), QSettings::IniFormat);
        c.setValue(QStringLiteral("Mouse_List/0"), QStringLiteral("Cli Mouse"));
        c.setValue(QStringLiteral("Config/CurrentProductName"), QStringLiteral("Cli Mouse"));
        c.setValue(QStringLiteral("Config/BatteryFull"), 4100);
    }

    void devices_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("env");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("receiver")
            << QStringList{"--emulate", "devices"} << QString() << 0
            << QStringList{
                   "Product: Cli Mouse",
                   "Receiver fff1:fa02: pointer collection found, command collection found",
                   "Cable fff1:fb01: pointer collection missing, command collection missing",
                   "Commands go to: receiver"};
        QTest::newRow("cable")
            << QStringList{"--emulate=cable", "devices"} << QString() << 0
            << QStringList{
                   "Receiver fff1:fa02: pointer collection missing, command collection missing",
                   "Cable fff1:fb01: pointer collection found, command collection found",
                   "Cable firmware release: 0102", "Commands go to: cable"};
        QTest::newRow("both") << QStringList{"devices", "--emulate=both"} << QString() << 0
                              << QStringList{"Connected through: cable and receiver",
                                             "Commands go to: cable"};
        QTest::newRow("from the environment")
            << QStringList{"devices"} << "cable" << 0 << QStringList{"Commands go to: cable"};
        QTest::newRow("nothing plugged in") << QStringList{"--emulate=none", "devices"} << QString()
                                            << 1 << QStringList{"No mouse is present."};
        QTest::newRow("real HID library, no mouse")
            << QStringList{"devices"} << QString() << 1 << QStringList{"No mouse is present."};
    }

    void devices()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, env);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        const Run r = run(args, env);
        QCOMPARE(r.status, status);
        const QStringList out = r.out.split(QLatin1Char('\n'));
        for (const QString &line : lines)
            QVERIFY2(out.contains(line), qPrintable(line + " missing from:\n" + r.out));
        QVERIFY2(r.err.isEmpty() || r.err.contains("HID library"), qPrintable(r.err));
    }

    // A node the user may not open, and a Config.ini that cannot be read: both are said, and
    // the mouse that is there is still found.
    void unopenableNodeIsSaid()
    {
        for (const QString &command : {QStringLiteral("devices"), QStringLiteral("status")}) {
            const Run r = run({"--emulate=denied", command});
            QCOMPARE(r.status, 1);
            QVERIFY2(r.out.contains("The mouse is present, but emu://receiver cannot be opened: "
                                    "Permission denied.") &&
                         r.out.contains("/linux/70-mousecfg.rules /etc/udev/rules.d/"),
                     qPrintable(r.out));
        }
    }

    void unreadableSettingsStillFindTheMouse()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Configs/Config.ini")); // a folder in its place
        QSettings d(dir.filePath(QStringLiteral("DefaultProfile.bin")), QSettings::IniFormat);
        d.setValue(QStringLiteral("PROFILE/ProductName"), QStringLiteral("Cli Mouse"));
        d.sync();
        for (const QString &command : {QStringLiteral("devices"), QStringLiteral("status")}) {
            const Run r = runIn(dir.path(), {"--emulate", command});
            QCOMPARE(r.status, 0);
            QVERIFY2(r.err.contains("Config.ini cannot be read"), qPrintable(r.err));
            QVERIFY2(!r.out.contains("No mouse is present."), qPrintable(r.out));
            QVERIFY2(r.out.contains(command == "devices" ? "Commands go to: receiver"
                                                         : "Connection: receiver"),
                     qPrintable(r.out));
        }
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Configs/Config.ini"))).isDir());
    }

    void status_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines");
        // The emulated mouse reads 1000 (4125 mV): full by this product's 4100 mV.
        QTest::newRow("receiver") << "receiver" << 0
                                  << QStringList{"Battery: 100% (4125 mV)", "Charging: no",
                                                 "Connection: receiver"};
        QTest::newRow("cable") << "cable" << 0 << QStringList{"Charging: yes", "Connection: cable"};
        QTest::newRow("mouse off") << "off" << 5 << QStringList{"The mouse is off or asleep."};
        QTest::newRow("silent mouse")
            << "silent" << 2 << QStringList{"The mouse gave no valid answer."};
        QTest::newRow("nothing plugged in") << "none" << 1 << QStringList{"No mouse is present."};
    }

    void status()
    {
        QFETCH(QString, mode);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        const Run r = run({"--emulate=" + mode, "status"});
        QCOMPARE(r.status, status);
        const QStringList out = r.out.split(QLatin1Char('\n'));
        for (const QString &line : lines)
            QVERIFY2(out.contains(line), qPrintable(line + " missing from:\n" + r.out));
    }

    void traceShowsTheExactReports()
    {
        const Run r = run({"--trace", "--emulate", "status"});
        QCOMPARE(r.status, 0);
        const QStringList out = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QRegularExpression traceLine(QStringLiteral("^[<>]( [0-9a-f]{2})+$"));
        QStringList trace;
        for (const QString &line : out) {
            if (line.startsWith(QLatin1String("> ")) || line.startsWith(QLatin1String("< "))) {
                QVERIFY2(traceLine.match(line).hasMatch(), qPrintable(line));
                trace.append(line);
            }
        }
        QCOMPARE(trace.size(), 2);
        QCOMPARE(trace[0], QStringLiteral("> 05 24 fa 48") + QStringLiteral(" 00").repeated(29));
        QVERIFY(trace[1].startsWith(QLatin1String("< 05 48 fa 48 e8 03 00 01 00 00 00")));
        QCOMPARE(trace[1].size(), 2 + 33 * 3 - 1);
    }

    void rawToDpiKeepsTheOrderGiven()
    {
        const Run r = run({"raw-to-dpi", "3325", "76", "50", "51", "0"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("10400\n5000\n5200\n0\n"));
    }

    // The rules in the order they are tried; the ones Config.ini holds that no slot has are
    // not listed.
    void rulesListed()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Configs"));
        {
            QSettings c(dir.filePath(QStringLiteral("Configs/Config.ini")), QSettings::IniFormat);
            c.setValue(QStringLiteral("FocusRules/Enabled"), 1);
            c.setValue(QStringLiteral("FocusRules/DefaultSlot"), 2);
            c.setValue(QStringLiteral("FocusRules/Count"), 3);
            c.setValue(QStringLiteral("FocusRules/App_0"), QStringLiteral("shooter"));
            c.setValue(QStringLiteral("FocusRules/Slot_0"), 4);
            c.setValue(QStringLiteral("FocusRules/App_1"), QStringLiteral("nowhere"));
            c.setValue(QStringLiteral("FocusRules/Slot_1"), 7);
            c.setValue(QStringLiteral("FocusRules/App_2"), QStringLiteral("XTerm"));
            c.setValue(QStringLiteral("FocusRules/Slot_2"), 1);
        }
        const Run r = runIn(dir.path(), {"rules"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("Switching with the application in front: on\n"
                                       "1. shooter: profile 4\n"
                                       "2. XTerm: profile 1\n"
                                       "Every other application: profile 2\n"));
    }

    // Without an X server the application in front cannot be known: the watch says so and
    // ends at once, before touching the mouse.
    void followFocusWithoutDesktopIsUnavailable()
    {
        const QByteArray display = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        const Run r = run({"--emulate", "--trace", "watch", "--follow-focus"});
        if (!display.isEmpty())
            qputenv("DISPLAY", display);
        QCOMPARE(r.status, 69);
        QVERIFY2(r.err.contains(QLatin1String("cannot be followed")), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"launch"};
        QTest::newRow("unknown option") << QStringList{"--fast", "devices"};
        QTest::newRow("unknown emulation mode") << QStringList{"--emulate=wifi", "devices"};
        QTest::newRow("extra argument") << QStringList{"--emulate", "status", "now"};
        QTest::newRow("raw-to-dpi without values") << QStringList{"raw-to-dpi", "3325"};
        QTest::newRow("sensor code no number") << QStringList{"raw-to-dpi", "pmw", "3"};
        QTest::newRow("negative raw value") << QStringList{"raw-to-dpi", "3325", "-1"};
        QTest::newRow("raw value beyond 32 bits")
            << QStringList{"raw-to-dpi", "3325", "4294967296"};
        QTest::newRow("watch with another option") << QStringList{"--emulate", "watch", "--follow"};
        QTest::newRow("rules with an argument") << QStringList{"rules", "all"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        const Run r = run(args);
        QCOMPARE(r.status, 64);
        QVERIFY(r.err.contains(QLatin1String("usage: mousecfg-cli")));
        QVERIFY(r.out.isEmpty());
    }

    // Command lines that are refused change no file: a mistyped command, or a known one with
    // wrong arguments, leaves the diagnostics file it names as it was; a file name that is not
    // valid text is refused rather than written under another name; a product description that does
    // not say which buttons the mouse has (this folder's names none) sends nothing, where every
    // button would have gone out "off".
    void refusedCommandLinesChangeNothing()
    {
        const QString diagnostics = m_dir.filePath(QStringLiteral("earlier-diagnostics.txt"));
        {
            QFile f(diagnostics);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("an earlier recording\n");
        }
        const QString option = QStringLiteral("--diagnostics=") + diagnostics;
        // A known command with arguments it refuses counts as mistyped too.
        for (const QStringList &args : {QStringList{"--emulate", option, "no-such-command"},
                                        QStringList{option}, QStringList{option, "--bogus"},
                                        QStringList{"--emulate", option, "select-profile", "9"},
                                        QStringList{"--emulate", option, "apply", "now"}}) {
            QCOMPARE(run(args).status, 64);
            QFile f(diagnostics);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("an earlier recording\n"));
        }
        QCOMPARE(QDir(m_dir.path()).entryList({"earlier-diagnostics.txt*"}, QDir::Files).size(), 1);
        // A command that runs replaces it with its own recording.
        QCOMPARE(run({"--emulate", option, "status"}).status, 0);
        {
            QFile f(diagnostics);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray recorded = f.readAll();
            QVERIFY2(recorded.startsWith("# mousecfg diagnostics ") && recorded.contains(" > 05 "),
                     recorded.constData());
        }

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir.path());
        p.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral(
                     "exec \"$0\" --data-dir \"$1\" export-config \"$(printf 'x\\377.conf')\""),
                 QStringLiteral(MC_CLI_PATH), m_dir.path()});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 64);
        QVERIFY(QDir(m_dir.path()).entryList({QStringLiteral("x*.conf")}, QDir::Files).isEmpty());

        const Run r = run({"--emulate", "--trace", "apply"});
        QCOMPARE(r.status, 9);
        QVERIFY2(r.err.contains(QLatin1String("DefaultProfile.bin")), qPrintable(r.err));
        QVERIFY2(!r.out.contains(QLatin1String("\n> ")) && !r.out.startsWith(QLatin1String("> ")),
                 qPrintable(r.out));
    }

    void missingDataFolderIsAUsageError_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("mousecfg-cli") << QStringLiteral(MC_CLI_PATH);
#ifdef MC_GUI_PATH
        QTest::newRow("mousecfg") << QStringLiteral(MC_GUI_PATH);
#endif
    }

    void missingDataFolderIsAUsageError()
    {
        // A mistyped folder is not created and filled with defaults for the mouse.
        QFETCH(QString, program);
        const QString missing = m_dir.filePath(QStringLiteral("no such"));
        const Run r = runIn(missing, {"--emulate", "apply"}, QString(), program);
        QCOMPARE(r.status, 64);
        QVERIFY2(r.err.contains(QLatin1String("no such folder")), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(missing));
    }

    void emptyDataFolderIsSeededFromTheShippedFiles()
    {
        const QString shipped = QFileInfo(QStringLiteral(MC_CLI_PATH)).absolutePath();
        QTemporaryDir empty;
        const Run r = runIn(empty.path(), {"--emulate", "devices"});
        QCOMPARE(r.status, 0);
        QStringList files{QStringLiteral("DefaultProfile.bin")};
        for (const char *folder : {"Configs", "skin", "lang"}) {
            QDirIterator it(shipped + QLatin1Char('/') + QLatin1String(folder), QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next().mid(shipped.size() + 1);
        }
        QVERIFY(files.contains(QStringLiteral("Configs/Config.ini")));
        for (const QString &file : qAsConst(files))
            QVERIFY2(QFileInfo::exists(empty.filePath(file)), qPrintable(file));
        QFile a(shipped + QStringLiteral("/DefaultProfile.bin"));
        QFile b(empty.filePath(QStringLiteral("DefaultProfile.bin")));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY(a.readAll() == b.readAll());
        // A folder that holds anything is the user's: nothing is added to it.
        QVERIFY(run({"--emulate", "devices"}).status == 0);
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("skin"))));
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("lang"))));
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
