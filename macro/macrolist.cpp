// Reading and writing the macro list entries of Config.ini.
#include "macro/macrolist.h"

#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/settings.h"
#include "profile/settingskeys.h"

namespace mc {

namespace {

QString slotKey(int slot)
{
    return QString::fromLatin1(keys::kMacroListFmt).arg(slot);
}

} // namespace

QStringList macroListSlots()
{
    return readMacroList();
}

QStringList macroNames()
{
    QStringList names;
    for (const QString &name : macroListSlots()) {
        if (isSafeFileName(name))
            names << name;
    }
    return names;
}

int macroCount()
{
    return macroNames().size();
}

int freeMacroSlot()
{
    return macroListSlots().indexOf(QString());
}

bool isMacroListed(const QString &name)
{
    return !name.isEmpty() && macroListSlots().contains(name);
}

int addToMacroList(const QString &name)
{
    if (!isSafeFileName(name))
        return -1;
    const QStringList entries = macroListSlots();
    const int listed = entries.indexOf(name);
    if (listed >= 0)
        return listed;
    const int slot = entries.indexOf(QString());
    if (slot < 0)
        return -1;
    // Through the atomic save: a full disk keeps the list as it was and says so (-1).
    const SaveResult saved = editSettingsFile(
        appSettingsFile(), [&](IniFile &ini) { ini.setString(slotKey(slot), name); });
    return saved ? slot : -1;
}

int removeFromMacroList(const QString &name)
{
    return replaceInMacroList(name, QString());
}

int replaceInMacroList(const QString &oldName, const QString &newName)
{
    if (oldName.isEmpty() || !settingsFileUsable(appSettingsFile()))
        return -1;
    const QStringList entries = macroListSlots();
    int first = -1;
    const SaveResult saved = editSettingsFile(appSettingsFile(), [&](IniFile &ini) {
        for (int i = 0; i < entries.size(); ++i) {
            if (entries.at(i) != oldName)
                continue;
            // A second copy of the name is a leftover of an older list; the new name appears
            // once.
            ini.setString(slotKey(i), first < 0 ? newName : QString());
            if (first < 0)
                first = i;
        }
    });
    return saved ? first : -1;
}

} // namespace mc
