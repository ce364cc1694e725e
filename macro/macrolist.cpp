// Reading and writing the macro list entries of Config.ini.
#include "macro/macrolist.h"

#include "profile/paths.h"
#include "profile/settings.h"
#include "profile/settingskeys.h"

#include <QSettings>

namespace mc {

namespace {

QString slotKey(int slot)
{
    return QString::fromLatin1(keys::kMacroListFmt).arg(slot);
}

void writeSlot(QSettings &s, int slot, const QString &name)
{
    s.setValue(slotKey(slot), name);
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
    if (slot < 0 || !settingsFileUsable(appSettingsFile()))
        return -1;
    QSettings s(appSettingsFile(), QSettings::IniFormat);
    writeSlot(s, slot, name);
    return slot;
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
    QSettings s(appSettingsFile(), QSettings::IniFormat);
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i) != oldName)
            continue;
        // A second copy of the name is a leftover of an older list; the new name appears once.
        writeSlot(s, i, first < 0 ? newName : QString());
        if (first < 0)
            first = i;
    }
    return first;
}

} // namespace mc
