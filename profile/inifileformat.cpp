// The settings-library format that reads and writes through IniFile (see the header).
#include "profile/inifileformat.h"

#include "profile/filesave.h"
#include "profile/inifile.h"
#include "profile/log.h"

#include <QIODevice>

namespace mc {

namespace {

bool readIni(QIODevice &device, QSettings::SettingsMap &map)
{
    // Callers check the size before they open a file (settingsFileUsable); one more bound here
    // keeps a device that never ends from filling memory.
    QByteArray bytes;
    if (!readBounded(device, IniFile::kMaxFileSize, bytes)) {
        qCWarning(lcProfile,
                  "A settings file larger than %lld bytes, or one that could not be "
                  "read, is read as empty.",
                  static_cast<long long>(IniFile::kMaxFileSize));
        return false;
    }
    IniFile ini;
    ini.parse(bytes);
    const QStringList keys = ini.keys();
    for (const QString &key : keys) {
        // IniFile answers nothing for the empty key itself, as QSettings does, but QSettings
        // reaches that key's value through "/" and the like, which name it once normalised.
        map.insert(key, ini.value(key.isEmpty() ? QStringLiteral("/") : key));
    }
    return true;
}

bool writeIni(QIODevice &device, const QSettings::SettingsMap &map)
{
    IniFile ini;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        ini.setValue(it.key(), it.value());
    const QByteArray bytes = ini.toBytes();
    return device.write(bytes) == bytes.size();
}

} // namespace

QSettings::Format iniSettingsFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), readIni, writeIni, Qt::CaseSensitive);
    return format;
}

} // namespace mc
