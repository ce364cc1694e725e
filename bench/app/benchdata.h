// What the window benchmarks share: a private copy of the application folder (so a run writes
// nothing beside the build's executables) and a private X server when one can be started,
// since a real desktop start connects to a display.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

class BenchData
{
public:
    BenchData()
    {
        for (const char *folder : {"skin", "lang", "Configs"})
            copyTree(QStringLiteral(MC_BIN_DIR "/") + QLatin1String(folder),
                     m_dir.path() + QLatin1Char('/') + QLatin1String(folder));
        QFile::copy(QStringLiteral(MC_BIN_DIR "/DefaultProfile.bin"),
                    m_dir.path() + QStringLiteral("/DefaultProfile.bin"));
    }
    QString path() const { return m_dir.path(); }

private:
    static void copyTree(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        const QFileInfoList entries =
            QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QFileInfo &fi : entries) {
            const QString target = to + QLatin1Char('/') + fi.fileName();
            if (fi.isDir())
                copyTree(fi.filePath(), target);
            else
                QFile::copy(fi.filePath(), target);
        }
    }

    QTemporaryDir m_dir;
};

// The server does not reset when a program leaves: the next one would otherwise connect during
// the reset, or wait for it. With withGl false the server offers no OpenGL (GLX) at all, as on many
// remote and virtual desktops; with it, Qt finds GLX and each program chooses whether to load the
// driver.
class BenchDisplay
{
public:
    explicit BenchDisplay(bool withGl = true) : m_env(QProcessEnvironment::systemEnvironment())
    {
        m_name = m_env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"));
        const QString display =
            QStringLiteral(":%1").arg(90 + QCoreApplication::applicationPid() % 100);
        QStringList args = {display,
                            QStringLiteral("-screen"),
                            QStringLiteral("0"),
                            QStringLiteral("1600x1000x24"),
                            QStringLiteral("-nolisten"),
                            QStringLiteral("tcp"),
                            QStringLiteral("-noreset")};
        if (!withGl)
            args << QStringLiteral("-extension") << QStringLiteral("GLX");
        m_server.start(QStringLiteral("Xvfb"), args);
        if (m_server.waitForStarted(3000)) {
            QThread::msleep(500); // let the server open its socket
            m_env.insert(QStringLiteral("DISPLAY"), display);
            m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            m_name = withGl ? QStringLiteral("xcb on Xvfb with GL")
                            : QStringLiteral("xcb on Xvfb without GL");
        }
    }
    ~BenchDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(3000);
    }
    QProcessEnvironment environment() const { return m_env; }
    QString name() const { return m_name; }

private:
    QProcess m_server;
    QProcessEnvironment m_env;
    QString m_name;
};
