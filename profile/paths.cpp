// Paths of the data folder and the files below it.
#include "profile/paths.h"
#include "profile/log.h"

#include "profile/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace mc {

namespace {

QString &overrideDir()
{
    static QString dir;
    return dir;
}

QString namedDataDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    const QString env = qEnvironmentVariable("MOUSECFG_DATA_DIR");
    return env.isEmpty() ? QString() : QDir::cleanPath(env);
}

QString executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
#ifdef Q_OS_LINUX
    // Start-up work that begins before the application object exists still finds the folder.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (!exe.isEmpty())
        return QFileInfo(exe).absolutePath();
#endif
    return QString();
}

struct DefaultDirs
{
    QString shipped;
    QString data;
    bool userData = false; // data is the user's data folder, apart from the shipped files
};

DefaultDirs findDefaultDirs(const QString &exeDir)
{
    DefaultDirs d;
    d.shipped = exeDir;
    bool installed = false;
    // The build tree lays the shipped files beside the executables; an installed program finds
    // them under share/ of its prefix (MC_SHIPPED_FROM_BIN, from the install layout).
    const bool beside = QFileInfo::exists(exeDir + QStringLiteral("/DefaultProfile.bin")) ||
                        QFileInfo(exeDir + QStringLiteral("/Configs")).isDir();
    const QString installedDir =
        QDir::cleanPath(exeDir + QLatin1Char('/') + QStringLiteral(MC_SHIPPED_FROM_BIN));
    if (!beside && QFileInfo(installedDir).isDir()) {
        d.shipped = installedDir;
        installed = true;
    }
    // An installed program's files belong to the package manager, even for root, who could
    // write them.
    d.userData = installed || !QFileInfo(exeDir).isWritable();
    d.data = d.userData ? userDataDir() : exeDir;
    return d;
}

// Decided once the executable's folder is known: where the program is does not change while it
// runs.
DefaultDirs defaultDirs()
{
    const QString exeDir = executableDir();
    if (exeDir.isEmpty())
        return {QDir::currentPath(), QDir::currentPath(), false};
    static const DefaultDirs dirs = findDefaultDirs(exeDir);
    return dirs;
}

} // namespace

QString appDir()
{
    const QString named = namedDataDir();
    return named.isEmpty() ? defaultDirs().data : named;
}

void setAppDir(const QString &dir)
{
    overrideDir() = dir.isEmpty() ? QString() : QDir::cleanPath(QDir(dir).absolutePath());
}

QString shippedDir()
{
    return defaultDirs().shipped;
}

QString userDataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/mousecfg");
}

QString readOnlyDir()
{
    const QString named = namedDataDir();
    if (!named.isEmpty())
        return named;
    const DefaultDirs d = defaultDirs();
    return d.userData ? d.shipped : d.data;
}

QString skinDir()
{
    return readOnlyDir() + QStringLiteral("/skin");
}

QString cacheDir()
{
    const QString named = namedDataDir();
    if (!named.isEmpty())
        return named + QStringLiteral("/cache");
    const DefaultDirs d = defaultDirs();
    if (!d.userData)
        return d.data + QStringLiteral("/cache");
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/mousecfg");
}

QString langDir()
{
    return readOnlyDir() + QStringLiteral("/lang");
}

QStringList applyDataDirOption(const QStringList &args, QString *error)
{
    QStringList rest;
    const auto apply = [error](const QString &dir) {
        // A mistyped folder must not quietly become a new, empty data folder whose defaults are
        // then written to the mouse.
        if (!QFileInfo(dir).isDir()) {
            if (error)
                *error = QStringLiteral("no such folder \"%1\"").arg(dir);
            return;
        }
        setAppDir(dir);
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--data-dir") && i + 1 < args.size()) {
            apply(args.at(++i));
        } else if (a.startsWith(QLatin1String("--data-dir="))) {
            apply(a.mid(int(qstrlen("--data-dir="))));
        } else {
            rest << a;
        }
    }
    return rest;
}

int seedDataFolder()
{
    if (!QCoreApplication::instance())
        return 0;
    const QString source = shippedDir();
    const QString target = appDir();
    const bool userData = namedDataDir().isEmpty() && defaultDirs().userData;
    if (userData && !QDir().mkpath(target)) {
        qCWarning(lcProfile, "the data folder %s cannot be created: settings will not be kept",
                 qPrintable(QDir::toNativeSeparators(target)));
        return 0;
    }
    const QFileInfo targetInfo(target);
    if (!targetInfo.isDir() ||
        targetInfo.canonicalFilePath() == QFileInfo(source).canonicalFilePath())
        return 0;
    // Only a folder that holds nothing is seeded: anything in it is the user's.
    if (!QDir(target).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                              QDir::System))
        return 0;
    QStringList files;
    QStringList folders{QStringLiteral("Configs")};
    // The user's data folder keeps only what the program writes; the rest is read where it was
    // installed.
    if (!userData) {
        if (QFileInfo(source + QStringLiteral("/DefaultProfile.bin")).isFile())
            files << QStringLiteral("DefaultProfile.bin");
        folders << QStringLiteral("skin") << QStringLiteral("lang");
    }
    for (const QString &folder : qAsConst(folders)) {
        QDirIterator it(source + QLatin1Char('/') + folder, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next().mid(source.size() + 1);
    }
    int copied = 0;
    for (const QString &rel : qAsConst(files)) {
        const QString to = target + QLatin1Char('/') + rel;
        if (QFileInfo::exists(to) || !QDir().mkpath(QFileInfo(to).absolutePath()) ||
            !QFile::copy(source + QLatin1Char('/') + rel, to))
            continue;
        // Shipped files may be read-only where they are installed; the copies are the user's.
        QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::ReadOwner |
                                      QFileDevice::WriteOwner);
        ++copied;
    }
    return copied;
}

QString configDir()
{
    return appDir() + QStringLiteral("/Configs");
}

QString productDir()
{
    return configDir() + QLatin1Char('/') + productFolderName(readCurrentProduct());
}

QString productDescriptionFile()
{
    return readOnlyDir() + QStringLiteral("/DefaultProfile.bin");
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

namespace {

bool isUnsafeChar(QChar c)
{
    return c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c);
}

// Device names that Windows opens instead of a file, with or without an extension.
// Compared by hand: a regular expression compiled at the first check cost more of the start than
// every other use of these names together.
bool isDeviceName(const QString &name)
{
    const int dot = name.indexOf(QLatin1Char('.'));
    const QString base = (dot < 0 ? name : name.left(dot)).toUpper();
    if (base == QLatin1String("CON") || base == QLatin1String("PRN") ||
        base == QLatin1String("AUX") || base == QLatin1String("NUL"))
        return true;
    return base.size() == 4 &&
           (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           base.at(3) >= QLatin1Char('1') && base.at(3) <= QLatin1Char('9');
}

int utf8Length(const QString &name)
{
    return name.toUtf8().size();
}

} // namespace

bool isSafeFileName(const QString &name)
{
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        utf8Length(name) > kMaxFileNameLength || isDeviceName(name))
        return false;
    for (const QChar c : name) {
        if (isUnsafeChar(c))
            return false;
    }
    return true;
}

QString productFolderName(const QString &name)
{
    if (name.isEmpty() || isSafeFileName(name))
        return name;
    QString folder;
    for (const QChar c : name)
        folder += isUnsafeChar(c) ? QChar(QLatin1Char('_')) : c;
    if (folder.trimmed().isEmpty() || folder == QLatin1String(".") ||
        folder == QLatin1String("..") || isDeviceName(folder))
        folder.prepend(QLatin1Char('_'));
    // Cut whole characters (never half a surrogate pair) until the name fits.
    while (utf8Length(folder) > kMaxFileNameLength)
        folder.chop(folder.size() >= 2 && folder.at(folder.size() - 1).isLowSurrogate() ? 2 : 1);
    return folder;
}

QString productPicturePath(const QString &suffix)
{
    const QString name = readCurrentProduct();
    if (!isSafeFileName(name)) {
        qCDebug(lcProfile, "product name %s names no picture", qPrintable(name));
        return QString();
    }
    return skinDir() + QStringLiteral("/mouse/") + name + suffix;
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
