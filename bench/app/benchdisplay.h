// A private X server for the window benchmarks, since a real desktop start connects to a
// display. The server picks its own free display (-displayfd), so benchmarks run side by side
// never share one, and does not reset when a program leaves (the next one would otherwise
// connect during the reset, or wait for it). With withGl false it offers no OpenGL (GLX) at all,
// as on many remote and virtual desktops; with it, Qt finds GLX and each program chooses whether
// to load the driver.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

class BenchDisplay
{
public:
    explicit BenchDisplay(bool withGl = true) : m_env(QProcessEnvironment::systemEnvironment())
    {
        // A desktop session's runtime folder is a memory file system: the single-instance lock
        // written there costs nothing, where on a disk its flush to the device alone takes
        // tens of milliseconds. The programs get one of their own, as a session gives them.
        if (m_runtime.isValid()) {
            QFile::setPermissions(m_runtime.path(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ExeOwner);
            m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        }
        m_name = m_env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"));
        QStringList args = {QStringLiteral("-displayfd"), QStringLiteral("1"),
                            QStringLiteral("-screen"),    QStringLiteral("0"),
                            QStringLiteral("1600x1000x24"), QStringLiteral("-dpi"),
                            QStringLiteral("96"),         QStringLiteral("-nolisten"),
                            QStringLiteral("tcp"),        QStringLiteral("-noreset")};
        if (!withGl)
            args << QStringLiteral("-extension") << QStringLiteral("GLX");
        m_server.setProcessChannelMode(QProcess::SeparateChannels);
        m_server.start(QStringLiteral("Xvfb"), args);
        if (!m_server.waitForStarted(3000))
            return;
        // The server writes its display number once it listens.
        QByteArray number;
        while (!number.contains('\n') && m_server.waitForReadyRead(10000))
            number += m_server.readAllStandardOutput();
        bool ok = false;
        const int display = number.trimmed().toInt(&ok);
        if (!ok)
            return;
        m_display = QStringLiteral(":%1").arg(display);
        m_env.insert(QStringLiteral("DISPLAY"), m_display);
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_name = withGl ? QStringLiteral("xcb on Xvfb with GLX")
                        : QStringLiteral("xcb on Xvfb without GLX");
    }
    ~BenchDisplay()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(3000)) {
            m_server.kill();
            m_server.waitForFinished(3000);
        }
    }
    BenchDisplay(const BenchDisplay &) = delete;
    BenchDisplay &operator=(const BenchDisplay &) = delete;

    bool isUp() const { return !m_display.isEmpty(); }
    QString display() const { return m_display; }
    QProcessEnvironment environment() const { return m_env; }
    QString name() const { return m_name; }

private:
    QTemporaryDir m_runtime{QStringLiteral("/dev/shm/mousecfg-bench-XXXXXX")};
    QProcess m_server;
    QProcessEnvironment m_env;
    QString m_name;
    QString m_display;
};
