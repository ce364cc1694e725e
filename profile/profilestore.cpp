// Store persistence, reset, configuration exports and the library list. Config.ini and the
// product settings are written through QSettings, as every other part of the program writes
// them, so that its view of those small files stays current; profile files and exports, large
// and ours alone, go through the fast INI code.
#include "profile/profilestore.h"

#include "profile/boundedsettings.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"
#include "profile/settings.h"
#include "profile/settingskeys.h"

#include <QFileInfo>
#include <QSet>
#include <QVector>

#include <algorithm>

namespace mc {

namespace {

constexpr int kResetAngle = 1;
constexpr int kResetLift = 1;
constexpr int kResetJitter = 1;
constexpr int kResetDebounce = 20;
constexpr int kLiftKeepingSync = 2; // product variant whose reset keeps the lift setting

QString key(const char *k)
{
    return QLatin1String(k);
}
QString slotNameKey(int slot)
{
    return QString::fromLatin1(keys::kSlotNameFmt).arg(slot + 1);
}
QString listKey(int n)
{
    return QString::fromLatin1(keys::kProfileListFmt).arg(n);
}
QString exportGroup(int slot)
{
    return QString::fromLatin1(profilekeys::kExportGroupFmt).arg(slot);
}

int clampSlot(int slot)
{
    return (slot < 0 || slot >= kSlotCount) ? 0 : slot;
}

QString usableName(const QString &name, int slot)
{
    return isSafeFileName(name) ? name : defaultSlotName(slot);
}

// The store-wide options in the order both files list them.
void readOptions(const IniFile &ini, ProfileStore &store)
{
    store.ProfileID = uint8_t(clampSlot(ini.intValue(key(keys::kProfileID))));
    store.AngleValue = uint8_t(ini.intValue(key(keys::kAngleValue)));
    store.LiftHigh = uint8_t(ini.intValue(key(keys::kLiftHigh)));
    store.Sync = uint8_t(ini.intValue(key(keys::kSync)));
    store.Jitter = uint8_t(ini.intValue(key(keys::kJitter)));
    store.Debounce = uint8_t(ini.intValue(key(keys::kDebounce)));
    store.Count = uint8_t(ini.intValue(key(keys::kCount)));
    for (int i = 0; i < kSlotCount; ++i)
        store.names[size_t(i)] = usableName(ini.stringValue(slotNameKey(i)), i);
}

// The slots SaveStore writes, the active one first: of two slots naming one file, its record
// wins. Empty when a name cannot name a file at all.
QVector<int> slotsToSave(const ProfileStore &store, bool *namesUsable)
{
    QVector<int> out;
    *namesUsable = true;
    const int active = clampSlot(store.ProfileID);
    for (int k = 0; k < kSlotCount; ++k) {
        const int i = (active + k) % kSlotCount;
        const QString &name = store.names[size_t(i)];
        if (!isSafeFileName(name)) {
            *namesUsable = false;
            return {};
        }
        bool taken = false;
        for (const int j : qAsConst(out))
            taken = taken || sameFileName(store.names[size_t(j)], name);
        if (!taken)
            out.append(i);
    }
    return out;
}

// The profile keys of an export group: those of a profile file but the two lighting keys that
// exports leave out.
bool isExportProfileName(QStringView name)
{
    const auto &table = profilekeys::keyTable();
    const int ord = table.indexOf(name);
    return ord >= 0 && table.name(ord) != QLatin1String(profilekeys::kLedMoveOff) &&
           table.name(ord) != QLatin1String(profilekeys::kLedSleepTime);
}

bool isExportKey(const QString &k)
{
    static const QSet<QString> configKeys = [] {
        QSet<QString> s{key(keys::kProfileID), key(keys::kAngleValue), key(keys::kLiftHigh),
                        key(keys::kSync),      key(keys::kJitter),     key(keys::kDebounce),
                        key(keys::kCount)};
        for (int i = 0; i < kSlotCount; ++i)
            s.insert(slotNameKey(i));
        return s;
    }();
    if (configKeys.contains(k))
        return true;
    for (int i = 0; i < kSlotCount; ++i) {
        const QString prefix = exportGroup(i) + QLatin1Char('/');
        if (k.startsWith(prefix))
            return isExportProfileName(QStringView(k).mid(prefix.size()));
    }
    return false;
}

} // namespace

QString defaultSlotName(int slot)
{
    return QStringLiteral("Profile %1").arg(slot + 1);
}

bool LoadStore(ProfileStore &store, QString *unreadableFile)
{
    bool ok = true;
    const auto failed = [&](const QString &file) {
        if (ok && unreadableFile)
            *unreadableFile = file;
        ok = false;
    };
    const QString configFile = appSettingsFile();
    IniFile config;
    // A Config.ini our reader copes with but QSettings must not be given (settingsFileUsable)
    // could not be saved again: the store says so now rather than at the first write.
    if ((!config.load(configFile) && QFileInfo::exists(configFile)) ||
        !settingsFileUsable(configFile))
        failed(configFile);
    readOptions(config, store);
    for (int i = 0; i < kSlotCount; ++i) {
        ProfileData &record = store.profiles[size_t(i)];
        record = ProfileData();
        if (!LoadSlotFile(record, store.names[size_t(i)]))
            failed(slotFilePath(store.names[size_t(i)]));
    }
    readButtonSlotMap();
    store.unreadable = !ok;
    return ok;
}

bool SaveStore(const ProfileStore &store)
{
    // Everything is checked before anything is written: a save that cannot be whole writes
    // nothing, and a file we could not read is never replaced by what we think it held.
    bool namesUsable = true;
    const QVector<int> toSave = slotsToSave(store, &namesUsable);
    if (store.unreadable || !namesUsable || !settingsFileUsable(appSettingsFile()))
        return false;
    for (const int i : toSave) {
        if (!settingsFileUsable(profileFile(store.names[size_t(i)])))
            return false;
    }
    bool ok = true;
    const QList<QPair<QString, QVariant>> values = {
        {key(keys::kProfileID), clampSlot(store.ProfileID)},
        {key(keys::kAngleValue), store.AngleValue},
        {key(keys::kSync), store.Sync},
        {key(keys::kLiftHigh), store.LiftHigh},
        {key(keys::kJitter), store.Jitter},
        {key(keys::kDebounce), store.Debounce},
        {key(keys::kCount), store.Count},
        {slotNameKey(0), store.names[0]},
        {slotNameKey(1), store.names[1]},
        {slotNameKey(2), store.names[2]},
        {slotNameKey(3), store.names[3]},
        {slotNameKey(4), store.names[4]}};
    // Config.ini is rewritten (and synced to disk) only when one of these values changed.
    IniFile current;
    current.load(appSettingsFile());
    bool same = true;
    for (const auto &v : values)
        same = same && current.contains(v.first) &&
               current.value(v.first).toString() == v.second.toString();
    if (!same) {
        BoundedSettings config(appSettingsFile());
        for (const auto &v : values)
            config.setValue(v.first, v.second);
        ok = config.sync();
    }
    for (const int i : toSave)
        ok = SaveSlotFile(store.profiles[size_t(i)], store.names[size_t(i)]) && ok;
    return ok;
}

bool SaveSlotNames(const ProfileStore &store)
{
    if (store.unreadable)
        return false;
    BoundedSettings config(appSettingsFile());
    config.setValue(key(keys::kProfileID), clampSlot(store.ProfileID));
    config.setValue(key(keys::kCount), store.Count);
    for (int i = 0; i < kSlotCount; ++i)
        config.setValue(slotNameKey(i), store.names[size_t(i)]);
    return config.sync();
}

void SaveActiveSlot(int slot)
{
    writeActiveSlot(clampSlot(slot));
}

void ResetAll(ProfileStore &store)
{
    const int productSync = readProductSync();
    store.ProfileID = 0;
    store.AngleValue = kResetAngle;
    store.LiftHigh = productSync == kLiftKeepingSync ? kResetLift : 0;
    store.Sync = 0;
    store.Jitter = kResetJitter;
    store.Debounce = kResetDebounce;
    BuildDefaultProfile(store.profiles[0]);
    for (int i = 0; i < kSlotCount; ++i) {
        const QString name = defaultSlotName(i);
        // A renamed slot takes the record of the file it is named after again, so that the
        // next save does not write the renamed profile over that file; with no such file there
        // is nothing to protect, and the slot keeps its record rather than one of empty stages.
        if (i > 0 && !sameFileName(store.names[size_t(i)], name) &&
            QFileInfo::exists(slotFilePath(name))) {
            ProfileData record;
            LoadSlotFile(record, name);
            store.profiles[size_t(i)] = record;
        }
        store.names[size_t(i)] = name;
    }
}

bool ExportConfig(const ProfileStore &store, const QString &path)
{
    IniFile config;
    config.setInt(key(keys::kProfileID), store.ProfileID);
    config.setInt(key(keys::kAngleValue), store.AngleValue);
    config.setInt(key(keys::kLiftHigh), store.LiftHigh);
    config.setInt(key(keys::kSync), store.Sync);
    config.setInt(key(keys::kJitter), store.Jitter);
    config.setInt(key(keys::kDebounce), store.Debounce);
    config.setInt(key(keys::kCount), store.Count);
    for (int i = 0; i < kSlotCount; ++i)
        config.setString(slotNameKey(i), store.names[size_t(i)]);
    QByteArray text = config.toBytes();
    for (int i = 0; i < kSlotCount; ++i) {
        text += '\n';
        appendProfileGroup(text, store.profiles[size_t(i)], exportGroup(i), false);
    }
    return writeMerged(path, text, isExportKey);
}

bool ImportConfig(ProfileStore &store, const QString &path)
{
    IniFile ini;
    if (!ini.load(path))
        return false; // nothing to import; the store stays as it was
    readOptions(ini, store);
    for (int i = 0; i < kSlotCount; ++i) {
        ProfileData &record = store.profiles[size_t(i)];
        readProfileGroup(ini, record, exportGroup(i), false);
        clampProfile(record);
    }
    return true;
}

bool SaveLibraryList(const QStringList &names)
{
    BoundedSettings product(productSettingsFile());
    product.remove(key(keys::kProfileListGroup)); // entries of a longer list go too
    product.setValue(key(keys::kProfileListCount), names.size());
    for (int n = 0; n < names.size(); ++n)
        product.setValue(listKey(n), names.at(n));
    return product.sync();
}

QStringList LoadLibraryList()
{
    IniFile ini;
    ini.load(productSettingsFile());
    // A count beyond the keys the file holds names nothing more; reading it would only cost.
    const int count = qBound(0, ini.intValue(key(keys::kProfileListCount)), ini.size());
    QStringList names;
    for (int n = 0; n < count; ++n) {
        const QString name = ini.stringValue(listKey(n));
        if (!isSafeFileName(name) ||
            std::any_of(names.cbegin(), names.cend(),
                        [&](const QString &listed) { return sameFileName(listed, name); }))
            continue;
        names.append(name);
    }
    return names;
}

int renameMacroInStore(ProfileStore &store, const QString &from, const QString &to)
{
    int changed = 0;
    if (from.isEmpty() || to.isEmpty())
        return changed;
    for (ProfileData &profile : store.profiles) {
        for (ButtonInfo &button : profile.buttons) {
            if (!button.macroname.isEmpty() && sameFileName(button.macroname, from)) {
                button.macroname = to;
                ++changed;
            }
        }
    }
    return changed;
}

} // namespace mc
