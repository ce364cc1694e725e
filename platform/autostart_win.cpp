// Starting with the desktop on Windows: the user's Run key.
#include "platform/autostart.h"

#include <QDir>
#include <QSettings>

namespace mc::autostart {

namespace {
const char kRunKey[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kValueName[] = "Mousecfg";
} // namespace

QString entryLocation()
{
    return QString::fromLatin1(kRunKey) + QLatin1Char('\\') + QLatin1String(kValueName);
}

bool isEnabled()
{
    QSettings run(QString::fromLatin1(kRunKey), QSettings::NativeFormat);
    return !run.value(QLatin1String(kValueName)).toString().isEmpty();
}

bool setEnabled(bool enable, const QString &executable, QString *error)
{
    QSettings run(QString::fromLatin1(kRunKey), QSettings::NativeFormat);
    if (enable) {
        if (executable.isEmpty() || executable.contains(QLatin1Char('"'))) {
            *error = QStringLiteral("the program's path cannot be written into the Run key");
            return false;
        }
        run.setValue(QLatin1String(kValueName), QStringLiteral("\"%1\" %2")
                                                    .arg(QDir::toNativeSeparators(executable),
                                                         QString::fromLatin1(kStartHiddenOption)));
    } else {
        run.remove(QLatin1String(kValueName));
    }
    run.sync();
    if (run.status() != QSettings::NoError) {
        *error = QStringLiteral("%1: the registry refused the change").arg(entryLocation());
        return false;
    }
    return true;
}

} // namespace mc::autostart
