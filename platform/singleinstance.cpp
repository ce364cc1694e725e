// Mutex name and lock file name, shared by both systems.
#include "platform/singleinstance.h"

#include <QDir>

namespace mc {

QString instanceMutexName(const QString &productName)
{
    return productName + QStringLiteral(" Wireless Gaming Mouse Mutex1");
}

QString SingleInstance::lockFilePath(const QString &mutexName)
{
    QString safe = mutexName;
    for (QChar &c : safe) {
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return QDir::tempPath() + QLatin1Char('/') + safe + QStringLiteral(".lock");
}

} // namespace mc
