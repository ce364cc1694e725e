// Configuration files: the bytes as Config.ini and as a configuration export (".conf"), both read
// by our INI reader. Every key and value it reads must be what QSettings reads from the same
// bytes; ImportConfig must give the store QSettings' values make (what the file lacks keeping
// the store's values); LoadStore must read QSettings' options and names from Config.ini (what it
// lacks reading as defaults); the library list must hold only usable, distinct names; and
// exporting over the file must keep every key that is not ours with its value, while our keys
// read back as the store. (Exports, five profiles long, are read by our reader only: QSettings
// would take seconds for each, and our reader is held to it on every input.)
//
// Differences from QSettings that are ours on purpose, and so not compared: values in a typed
// form QSettings would decode without bound or into an undefined value (ini::safeForQSettings),
// which we read as no value; QSettings is not given such bytes at all.
#include "fuzzsupport.h"
#include "profilecheck.h"

#include "profile/inicodec.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"
#include "profile/profilestore.h"
#include "profile/settingskeys.h"

#include <QDir>
#include <QSettings>

using namespace mc;
using namespace mc::fuzz;

namespace {

// A store whose every option and name differs from what a file gives, so that a field the
// reader forgets shows.
ProfileStore baseStore()
{
    ProfileStore s;
    s.ProfileID = 3;
    s.AngleValue = s.LiftHigh = s.Sync = s.Count = s.Jitter = s.Debounce = 77;
    for (int i = 0; i < kSlotCount; ++i) {
        s.names[size_t(i)] = QStringLiteral("base %1").arg(i);
        s.profiles[size_t(i)].LedMoveOFF = uint8_t(40 + i);
        s.profiles[size_t(i)].LedSleepTime = uint8_t(50 + i);
    }
    return s;
}

int clampedSlot(int slot)
{
    return (slot < 0 || slot >= kSlotCount) ? 0 : slot;
}

// The options and names as LoadStore takes them (keepMissing false) or ImportConfig (true: an
// option or name the file lacks keeps its value), read through QSettings.
void optionsWithQSettings(const QString &path, ProfileStore &s, bool keepMissing)
{
    QSettings qs(path, QSettings::IniFormat);
    const auto num = [&](const char *key, uint8_t &field) {
        if (!keepMissing || qs.contains(QLatin1String(key)))
            field = uint8_t(qs.value(QLatin1String(key)).toInt());
    };
    num(keys::kProfileID, s.ProfileID);
    s.ProfileID = uint8_t(clampedSlot(s.ProfileID));
    num(keys::kAngleValue, s.AngleValue);
    num(keys::kLiftHigh, s.LiftHigh);
    num(keys::kSync, s.Sync);
    num(keys::kJitter, s.Jitter);
    num(keys::kDebounce, s.Debounce);
    num(keys::kCount, s.Count);
    for (int i = 0; i < kSlotCount; ++i) {
        const QString key = QString::fromLatin1(keys::kSlotNameFmt).arg(i + 1);
        if (keepMissing && !qs.contains(key))
            continue;
        const QString name = qs.value(key).toString();
        s.names[size_t(i)] = isSafeFileName(name) ? name : defaultSlotName(i);
    }
}

// The keys an export writes: the options, the five names and the profile keys of the five
// groups but the two that exports leave out.
bool isExportKey(const QString &key)
{
    for (const char *option : {keys::kProfileID, keys::kAngleValue, keys::kLiftHigh, keys::kSync,
                               keys::kJitter, keys::kDebounce, keys::kCount}) {
        if (key == QLatin1String(option))
            return true;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (key == QString::fromLatin1(keys::kSlotNameFmt).arg(i + 1))
            return true;
        const QString prefix = QStringLiteral("PROFILE_%1/").arg(i);
        if (!key.startsWith(prefix))
            continue;
        const QStringView name = QStringView(key).mid(prefix.size());
        return profilekeys::keyTable().indexOf(name) >= 0 &&
               name != QLatin1String(profilekeys::kLedMoveOff) &&
               name != QLatin1String(profilekeys::kLedSleepTime);
    }
    return false;
}

void checkSameOptions(const ProfileStore &a, const ProfileStore &b, const char *what)
{
    MC_FUZZ_CHECK(a.ProfileID == b.ProfileID && a.AngleValue == b.AngleValue &&
                      a.LiftHigh == b.LiftHigh && a.Sync == b.Sync && a.Jitter == b.Jitter &&
                      a.Debounce == b.Debounce && a.Count == b.Count,
                  "%s: options differ", what);
    for (int i = 0; i < kSlotCount; ++i)
        MC_FUZZ_CHECK(a.names[size_t(i)] == b.names[size_t(i)], "%s: name %d is %s, not %s", what,
                      i, qPrintable(a.names[size_t(i)]), qPrintable(b.names[size_t(i)]));
}

void checkSameStore(const ProfileStore &a, const ProfileStore &b, const char *what)
{
    checkSameOptions(a, b, what);
    for (int i = 0; i < kSlotCount; ++i)
        checkSameRecord(a.profiles[size_t(i)], b.profiles[size_t(i)], what);
}

// Our reader against QSettings, key by key.
void checkKeysAndValues(Scratch &scratch, const QByteArray &bytes)
{
    IniFile ours;
    ours.parse(bytes);
    const QMap<QString, QString> theirs = qsettingsView(scratch, bytes);
    QStringList mine = ours.keys();
    mine.removeAll(QString());
    MC_FUZZ_CHECK(mine.size() == theirs.size(), "%d keys read, QSettings reads %d",
                  int(mine.size()), int(theirs.size()));
    for (const QString &key : qAsConst(mine)) {
        MC_FUZZ_CHECK(theirs.contains(key), "key %s is not one QSettings reads", qPrintable(key));
        const QString value = describe(ours.value(key));
        MC_FUZZ_CHECK(value == theirs.value(key), "key %s reads %s, QSettings reads %s",
                      qPrintable(key), qPrintable(value), qPrintable(theirs.value(key)));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Scratch scratch;
    const QByteArray bytes = bytesOf(data, size);
    const QString dir = scratch.next();
    setAppDir(dir);
    QDir().mkpath(configDir());
    const QString config = appSettingsFile();
    writeFile(config, bytes);
    const bool compare = ini::safeForQSettings(bytes);
    if (compare)
        checkKeysAndValues(scratch, bytes);

    // The bytes as an export.
    const QString exported = dir + QStringLiteral("/in.conf");
    writeFile(exported, bytes);
    ProfileStore imported = baseStore();
    ImportConfig(imported, exported);
    if (compare) {
        ProfileStore expected = baseStore();
        optionsWithQSettings(exported, expected, true);
        for (int i = 0; i < kSlotCount; ++i) {
            ProfileData &r = expected.profiles[size_t(i)];
            r = readWithQSettings(exported, QStringLiteral("PROFILE_%1").arg(i), false, r, true);
            clampProfile(r);
        }
        checkSameStore(imported, expected, "import against QSettings");
    }

    // The bytes as Config.ini: the same options and names (no slot file exists).
    ProfileStore loaded = baseStore();
    QString unreadable;
    const bool loadedOk = LoadStore(loaded, &unreadable);
    MC_FUZZ_CHECK(loadedOk == compare, "LoadStore said %d for a file QSettings %s read",
                  int(loadedOk), compare ? "may" : "must not");
    if (loadedOk) {
        ProfileStore expected = baseStore();
        optionsWithQSettings(config, expected, false);
        checkSameOptions(loaded, expected, "LoadStore against QSettings");
    }

    const QStringList library = LoadLibraryList();
    for (int i = 0; i < library.size(); ++i) {
        MC_FUZZ_CHECK(isSafeFileName(library.at(i)), "library name %s", qPrintable(library.at(i)));
        for (int j = 0; j < i; ++j)
            MC_FUZZ_CHECK(!sameFileName(library.at(i), library.at(j)), "library name twice");
    }

    // Exported over the file: the store reads back, the file's other keys stay.
    const QMap<QString, QString> before =
        compare ? qsettingsView(scratch, bytes) : QMap<QString, QString>();
    MC_FUZZ_CHECK(ExportConfig(imported, exported), "exporting over a readable file failed");
    ProfileStore back = baseStore();
    ImportConfig(back, exported);
    checkSameStore(back, imported, "exported over the file and imported again");
    if (compare)
        checkKeptKeys(before, readFile(exported), isExportKey);
    return 0;
}
