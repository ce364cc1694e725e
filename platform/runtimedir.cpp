// Finding, creating and checking the user's runtime folder.
#include "platform/runtimedir.h"
#include "platform/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mc {

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("RuntimeDir", text);
}

#ifdef Q_OS_UNIX
// Creates the folder (mode 0700) unless it is there, then checks what is there: a real folder,
// not a link, owned by this user, writable by nobody else.
bool ownPrivateFolder(const QString &path, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *error = translated(QT_TRANSLATE_NOOP("RuntimeDir", "%1 could not be created: %2"))
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st;
    if (::lstat(native.constData(), &st) != 0) {
        *error = translated(QT_TRANSLATE_NOOP("RuntimeDir", "%1 could not be examined: %2"))
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *error = translated(QT_TRANSLATE_NOOP("RuntimeDir", "%1 is not a folder")).arg(path);
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        *error =
            translated(QT_TRANSLATE_NOOP("RuntimeDir", "%1 belongs to another user")).arg(path);
        return false;
    }
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        *error = translated(QT_TRANSLATE_NOOP("RuntimeDir", "%1 can be written by other users"))
                     .arg(path);
        return false;
    }
    return true;
}
#endif

} // namespace

QString userRuntimeDir(QString *error)
{
    QString reason;
#ifdef Q_OS_UNIX
    QString dir;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    // The desktop's runtime folder is the user's alone; one that is not (a variable left over
    // from another user's session) is passed by for the temporary folder.
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        QString ignored;
        if (ownPrivateFolder(runtime, &ignored))
            dir = runtime + QStringLiteral("/mousecfg");
        else
            qCDebug(lcPlatform, "runtime folder not used: %s", qPrintable(ignored));
    }
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/mousecfg-") + QString::number(::geteuid());
    if (ownPrivateFolder(dir, &reason))
        return dir;
#else
    reason = translated(
        QT_TRANSLATE_NOOP("RuntimeDir", "there is no per-user runtime folder on this system"));
#endif
    qCWarning(lcPlatform, "%s", qPrintable(reason));
    if (error)
        *error = reason;
    return QString();
}

} // namespace mc
