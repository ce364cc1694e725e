// Paths of the data folder and the files below it.
#include "profile/paths.h"

#include "profile/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace mc {

namespace {
QString &overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString appDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    const QString env = qEnvironmentVariable("MOUSECFG_DATA_DIR");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
#ifdef Q_OS_LINUX
    // Start-up work that begins before the application object exists still finds the folder.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (!exe.isEmpty())
        return QFileInfo(exe).absolutePath();
#endif
    return QDir::currentPath();
}

void setAppDir(const QString &dir)
{
    overrideDir() = dir.isEmpty() ? QString() : QDir::cleanPath(QDir(dir).absolutePath());
}

QStringList applyDataDirOption(const QStringList &args)
{
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--data-dir") && i + 1 < args.size()) {
            setAppDir(args.at(++i));
        } else if (a.startsWith(QLatin1String("--data-dir="))) {
            setAppDir(a.mid(int(qstrlen("--data-dir="))));
        } else {
            rest << a;
        }
    }
    return rest;
}

QString configDir()
{
    return appDir() + QStringLiteral("/Configs");
}

QString productDir()
{
    return configDir() + QLatin1Char('/') + readCurrentProduct();
}

QString productDescriptionFile()
{
    return appDir() + QStringLiteral("/DefaultProfile.bin");
}
QString appSettingsFile()
{
    return configDir() + QStringLiteral("/Config.ini");
}
QString langSettingsFile()
{
    return configDir() + QStringLiteral("/LangConfig.ini");
}

QString productSettingsFile()
{
    // With an empty product name P is K + "/", and the product settings are Config.ini itself.
    return QDir::cleanPath(productDir() + QStringLiteral("/Config.ini"));
}

QString profileDir()
{
    return QDir::cleanPath(productDir() + QStringLiteral("/Profile"));
}
QString legacyProfileDir()
{
    return configDir() + QStringLiteral("/Profile");
}

QString profileFile(const QString &name)
{
    return profileDir() + QLatin1Char('/') + name + QStringLiteral(".prof");
}

QString defaultProfileFile()
{
    return legacyProfileDir() + QStringLiteral("/DefaultProfile.prof");
}
QString macroDir()
{
    return configDir() + QStringLiteral("/MacroDB");
}

QString macroFile(const QString &name)
{
    return macroDir() + QLatin1Char('/') + name + QStringLiteral(".MSMACRO");
}

bool isSafeFileName(const QString &name)
{
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.size() > kMaxFileNameLength)
        return false;
    // Device names that Windows opens instead of a file, with or without an extension.
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])"
                                                          "(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (device.match(name).hasMatch())
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

bool sameFileName(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

} // namespace mc
