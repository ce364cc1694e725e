// Starting with the desktop: the XDG autostart entry as the desktop reads it. The entry is
// written where XDG_CONFIG_HOME says, passes desktop-file-validate where that is installed, and
// its Exec line gives back the program's path (spaces, quotes, '$', '%', backslashes) and the
// option that starts it hidden when a shell reads it by the Desktop Entry rules. An entry the
// user switched off counts as off; switching off removes it; a path that cannot be written and
// a folder that cannot be made are refused with the reason, leaving nothing behind.
#include "platform/autostart.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;

namespace {

// The arguments of an Exec value as a launcher would pass them: the string value's escapes
// undone, '%%' made '%', then the command line's double-quote rules (those of the shell).
QStringList execArguments(QString value)
{
    value.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    value.replace(QStringLiteral("%%"), QStringLiteral("%"));
    QProcess sh;
    sh.start(QStringLiteral("/bin/sh"),
             {QStringLiteral("-c"), QStringLiteral("printf '%s\\n' ") + value});
    sh.waitForFinished();
    QStringList out = QString::fromUtf8(sh.readAllStandardOutput()).split(QLatin1Char('\n'));
    out.removeLast();
    return out;
}

QString execValue(const QByteArray &entry)
{
    for (const QByteArray &line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5));
    }
    return QString();
}

} // namespace

class TestAutostart : public QObject
{
    Q_OBJECT

private slots:
    void entryStartsTheProgramHidden()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const QString path =
            config.path() + QStringLiteral("/autostart/org.mousecfg.Mousecfg.desktop");
        QCOMPARE(autostart::entryLocation(), path);
        QVERIFY(!autostart::isEnabled());

        const QString program =
            QStringLiteral("/opt/My Tools/mouse$cfg \"100%\" `x` a\\b/mousecfg");
        QString error;
        QVERIFY2(autostart::setEnabled(true, program, &error), qPrintable(error));
        QVERIFY(autostart::isEnabled());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray entry = file.readAll();
        file.close();
        QCOMPARE(execArguments(execValue(entry)),
                 (QStringList{program, QString::fromLatin1(autostart::kStartHiddenOption)}));

        const QString validate =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (!validate.isEmpty()) {
            QProcess v;
            v.start(validate, {path});
            QVERIFY(v.waitForFinished());
            QVERIFY2(v.exitCode() == 0, v.readAllStandardOutput().constData());
        }

        // Switched off by the user (the desktop's own settings write Hidden=true).
        QVERIFY(file.open(QIODevice::Append));
        file.write("Hidden=true\n");
        file.close();
        QVERIFY(!autostart::isEnabled());

        QVERIFY(autostart::setEnabled(false, program, &error));
        QVERIFY(!QFile::exists(path));
        QVERIFY(autostart::setEnabled(false, program, &error)); // nothing to remove
    }

    void refusalsLeaveNothingBehind()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        QString error;
        QVERIFY(!autostart::setEnabled(true, QStringLiteral("/opt/a\nb/mousecfg"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(autostart::entryLocation()));

        // The folder cannot be made: a file stands where it would go.
        QFile blocker(config.path() + QStringLiteral("/autostart"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        error.clear();
        QVERIFY(!autostart::setEnabled(true, QStringLiteral("/usr/bin/mousecfg"), &error));
        QVERIFY(error.contains(QStringLiteral("autostart")));
        QVERIFY(!autostart::isEnabled());
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "test_autostart.moc"
