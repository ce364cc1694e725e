// The XDG autostart entry.
#include "platform/autostart.h"
#include "platform/log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace mc::autostart {

namespace {

QString entryPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/org.mousecfg.Mousecfg.desktop");
}

// The value of a key of the [Desktop Entry] group, as written (no unescaping: only booleans are
// read here).
QString keyValue(const QByteArray &text, const QByteArray &key)
{
    bool inGroup = false;
    for (const QByteArray &raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inGroup)
            continue;
        const int eq = line.indexOf('=');
        if (eq > 0 && line.left(eq).trimmed() == key)
            return QString::fromUtf8(line.mid(eq + 1).trimmed());
    }
    return QString();
}

} // namespace

QString entryLocation()
{
    return entryPath();
}

bool isEnabled()
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.read(64 * 1024);
    return keyValue(text, "Hidden") != QLatin1String("true") &&
           keyValue(text, "X-GNOME-Autostart-enabled") != QLatin1String("false");
}

bool setEnabled(bool enable, const QString &executable, QString *error)
{
    const QString path = entryPath();
    if (!enable) {
        QFile file(path);
        if (file.exists() && !file.remove()) {
            *error =
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
            return false;
        }
        return true;
    }
    const QString exec = desktopExecLine({executable, QString::fromLatin1(kStartHiddenOption)});
    if (executable.isEmpty() || exec.isEmpty()) {
        *error = QStringLiteral("the program's path cannot be written into a desktop entry");
        return false;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error =
            QStringLiteral("%1: the folder cannot be made").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QByteArray text = QStringLiteral("[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Mousecfg\n"
                                           "Comment=Starts the mouse configuration in the tray\n"
                                           "Exec=%1\n"
                                           "Icon=org.mousecfg.Mousecfg\n"
                                           "Terminal=false\n"
                                           "X-GNOME-Autostart-enabled=true\n")
                                .arg(exec)
                                .toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    qCDebug(lcPlatform, "Autostart entry written: %s", qPrintable(path));
    return true;
}

} // namespace mc::autostart
