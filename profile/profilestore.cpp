// Store persistence, reset, configuration exports and the library list. Every file goes through
// the INI code and the atomic save; a save of the store writes Config.ini and the slot files as
// one batch, so that a full disk leaves all of them as they were.
#include "profile/profilestore.h"

#include "profile/filesave.h"
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

// The store-wide options in the order both files list them. keepMissing leaves an option the
// file does not hold as it is.
void readOptions(const IniFile &ini, ProfileStore &store, bool keepMissing = false)
{
    const auto option = [&](const char *k, uint8_t &field) {
        if (!keepMissing || ini.contains(key(k)))
            field = uint8_t(ini.intValue(key(k)));
    };
    option(keys::kProfileID, store.ProfileID);
    store.ProfileID = uint8_t(clampSlot(store.ProfileID));
    option(keys::kAngleValue, store.AngleValue);
    option(keys::kLiftHigh, store.LiftHigh);
    option(keys::kSync, store.Sync);
    option(keys::kJitter, store.Jitter);
    option(keys::kDebounce, store.Debounce);
    option(keys::kCount, store.Count);
    for (int i = 0; i < kSlotCount; ++i) {
        if (!keepMissing || ini.contains(slotNameKey(i)))
            store.names[size_t(i)] = usableName(ini.stringValue(slotNameKey(i)), i);
    }
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
    const QString profileFolder = profileDir();
    for (int i = 0; i < kSlotCount; ++i) {
        ProfileData &record = store.profiles[size_t(i)];
        record = ProfileData();
        if (!LoadSlotFile(record, store.names[size_t(i)], profileFolder))
            failed(slotFilePath(store.names[size_t(i)], profileFolder));
    }
    readButtonSlotMap();
    store.unreadable = !ok;
    return ok;
}

SaveResult SaveStore(const ProfileStore &store)
{
    // Everything is checked before anything is written: a save that cannot be whole writes
    // nothing, and a file we could not read is never replaced by what we think it held.
    if (store.unreadable)
        return SaveResult::unreadable(appSettingsFile());
    bool namesUsable = true;
    const QVector<int> toSave = slotsToSave(store, &namesUsable);
    if (!namesUsable) {
        for (const QString &name : store.names) {
            if (!isSafeFileName(name))
                return SaveResult::unsafeName(name);
        }
    }
    if (!settingsFileUsable(appSettingsFile()))
        return SaveResult::unreadable(appSettingsFile());
    for (const int i : toSave) {
        const QString file = profileFile(store.names[size_t(i)]);
        if (!settingsFileUsable(file))
            return SaveResult::unreadable(file);
    }
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
    IniFile config;
    config.load(appSettingsFile());
    for (const auto &v : values) {
        if (!config.contains(v.first) || config.value(v.first).toString() != v.second.toString())
            config.setValue(v.first, v.second);
    }
    SaveBatch batch;
    batch.add(appSettingsFile(), config.toBytes());
    for (const int i : toSave)
        addProfileFile(batch, store.profiles[size_t(i)], profileFile(store.names[size_t(i)]));
    return batch.commit();
}

SaveResult SaveSlotNames(const ProfileStore &store)
{
    if (store.unreadable)
        return SaveResult::unreadable(appSettingsFile());
    return editSettingsFile(appSettingsFile(), [&](IniFile &config) {
        config.setValue(key(keys::kProfileID), clampSlot(store.ProfileID));
        config.setValue(key(keys::kCount), store.Count);
        for (int i = 0; i < kSlotCount; ++i)
            config.setValue(slotNameKey(i), store.names[size_t(i)]);
    });
}

SaveResult SaveActiveSlot(int slot)
{
    return writeActiveSlot(clampSlot(slot));
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

namespace {

QByteArray exportText(const ProfileStore &store)
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
    return text;
}

} // namespace

SaveResult ExportConfig(const ProfileStore &store, const QString &path)
{
    return writeMerged(path, exportText(store), isExportKey);
}

SaveResult ExportConfigFor(const ProfileStore &store, const QString &path,
                           const QString &productName)
{
    if (!settingsFileUsable(path))
        return SaveResult::unreadable(path);
    // The mark and the configuration go in with one write: a file left with a new mark but
    // the old configuration (or the other way round) would load as something never saved.
    IniFile marked;
    marked.load(path);
    marked.setString(key(keys::kExportMark), productName);
    return saveFileAtomically(path,
                              mergedText(marked.toBytes(), true, exportText(store), isExportKey));
}

bool ImportConfig(ProfileStore &store, const QString &path)
{
    IniFile ini;
    if (!ini.load(path))
        return false; // nothing to import; the store stays as it was
    // A file cut short, or one without some slots' groups, changes only what it holds: a slot
    // it lacks must not lose its buttons (read as missing keys, every button would be off).
    readOptions(ini, store, true);
    for (int i = 0; i < kSlotCount; ++i) {
        ProfileData &record = store.profiles[size_t(i)];
        readProfileGroup(ini, record, exportGroup(i), false, true);
        clampProfile(record);
    }
    return true;
}

SaveResult SaveLibraryList(const QStringList &names)
{
    return editSettingsFile(productSettingsFile(), [&](IniFile &product) {
        removeGroup(product, key(keys::kProfileListGroup)); // entries of a longer list go too
        product.setValue(key(keys::kProfileListCount), names.size());
        for (int n = 0; n < names.size(); ++n)
            product.setValue(listKey(n), names.at(n));
    });
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
