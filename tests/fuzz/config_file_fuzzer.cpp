// Configuration files: the bytes as Config.ini and as a configuration export (".conf"), both read
// by our INI reader. Every key and value it reads must be what QSettings reads from the same
// bytes; ImportConfig must give the store QSettings' values make; LoadStore must read the same
// options and names from Config.ini; the library list must hold only usable, distinct names; and
// exporting over the file must keep every key that is not ours with its value, while our keys
// read back as the store. That export writes and reads five whole records (40,000 keys): it runs
// for an input holding a value of a shape no input before held (Shapes), and for few of them, so
// that the readers are tried on many inputs a second; the other inputs are written over with a
// small text of ours, which tries the keeping of the other keys alone.
//
// Differences from QSettings that are ours on purpose, and so not compared: values in a typed
// form QSettings would decode without bound or into an undefined value (ini::safeForQSettings),
// which we read as no value; QSettings is not given such bytes at all.
#include "fuzzsupport.h"
#include "profilecheck.h"

#include "profile/boundedsettings.h"
#include "profile/inicodec.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"
#include "profile/profilestore.h"
#include "profile/settingskeys.h"

#include <QSettings>

using namespace mc;
using namespace mc::fuzz;

namespace {

// At most one input in this many exports and imports a whole store: a round trip costs as much
// as some seventy other inputs (0.15 s under the sanitizers); at one in 256 the round trips took
// a fifth of the harness's time, at one in 1,024 they take some six per cent.
constexpr int kRoundTripShare = 1024;

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
// option or name the file lacks keeps its value), read through QSettings (every group read
// first, as the program's own QSettings readers do).
void optionsWithQSettings(const QString &path, ProfileStore &s, bool keepMissing)
{
    QSettings qs(path, QSettings::IniFormat);
    readAllGroups(qs);
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

QString exportGroup(int slot)
{
    return QString::fromLatin1(profilekeys::kExportGroupFmt).arg(slot);
}

// The keys an export writes: the options, the five names and the profile keys of the five
// groups but the two that exports leave out. Asked of every key of every input more than once:
// the names it compares with are made once.
bool isExportKey(const QString &key)
{
    static const QStringList plainKeys = [] {
        QStringList out;
        for (const char *option : {keys::kProfileID, keys::kAngleValue, keys::kLiftHigh,
                                   keys::kSync, keys::kJitter, keys::kDebounce, keys::kCount})
            out << QString::fromLatin1(option);
        for (int i = 0; i < kSlotCount; ++i)
            out << QString::fromLatin1(keys::kSlotNameFmt).arg(i + 1);
        return out;
    }();
    static const QStringList groupPrefixes = [] {
        QStringList out;
        for (int i = 0; i < kSlotCount; ++i)
            out << exportGroup(i) + QLatin1Char('/');
        return out;
    }();
    if (plainKeys.contains(key))
        return true;
    for (const QString &prefix : groupPrefixes) {
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

// The shape of what the export of the store writes (Shapes): its options, names and the
// fields the input gave, and whether it keeps lines that are not ours.
QVector<QByteArray> exportShape(const IniFile &ini, const ProfileStore &s)
{
    QVector<QByteArray> parts;
    for (const int option :
         {s.ProfileID, s.AngleValue, s.LiftHigh, s.Sync, s.Jitter, s.Debounce, s.Count}) {
        QByteArray part("o");
        Shapes::addNumber(part, option);
        parts.append(part);
    }
    for (const QString &name : s.names) {
        QByteArray part("n");
        Shapes::addText(part, name);
        parts.append(part);
    }
    const QStringList keys = ini.keys();
    for (int i = 0; i < kSlotCount; ++i)
        addRecordShape(parts, s.profiles[size_t(i)], keys, exportGroup(i));
    parts.append(QByteArray("m") + char(ini.utf8Marked()) +
                 char(ini.rawLines([](const QString &k) { return !isExportKey(k); }).isEmpty()));
    return parts;
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
    static Shapes shapes;
    static const QString exported = scratch.file(QStringLiteral("in.conf"));
    setAppDir(scratch.folder());
    const QByteArray bytes = bytesOf(data, size);
    scratch.put(appSettingsFile(), bytes);
    scratch.put(exported, bytes);
    IniFile ini;
    ini.parse(bytes);
    const bool compare = ini::safeForQSettings(bytes);

    // The bytes as an export.
    ProfileStore imported = baseStore();
    ImportConfig(imported, exported);
    View before;
    if (compare) {
        ProfileStore expected = baseStore();
        optionsWithQSettings(exported, expected, true);
        before = qsettingsView(exported);
        checkSameKeys(ini, before);
        for (int i = 0; i < kSlotCount; ++i) {
            ProfileData &r = expected.profiles[size_t(i)];
            r = recordFromView(before, exportGroup(i), false, r, true);
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
        optionsWithQSettings(appSettingsFile(), expected, false);
        checkSameOptions(loaded, expected, "LoadStore against QSettings");
    }

    const QStringList library = LoadLibraryList();
    for (int i = 0; i < library.size(); ++i) {
        MC_FUZZ_CHECK(isSafeFileName(library.at(i)), "library name %s", qPrintable(library.at(i)));
        for (int j = 0; j < i; ++j)
            MC_FUZZ_CHECK(!sameFileName(library.at(i), library.at(j)), "library name twice");
    }

    // Exported over the file: the store reads back, the file's other keys stay. A store whose
    // values are all of shapes exported already is not exported whole again: the merge alone
    // is tried, with a small text of ours.
    if (shapes.anyNew([&] { return exportShape(ini, imported); }, kRoundTripShare)) {
        MC_FUZZ_CHECK(ExportConfig(imported, exported), "exporting over a readable file failed");
        ProfileStore back = baseStore();
        ImportConfig(back, exported);
        checkSameStore(back, imported, "exported over the file and imported again");
        if (compare)
            checkKeptKeys(before, readFile(exported), exportGroup(kSlotCount - 1), isExportKey);
        return 0;
    }
    static const QByteArray small = "[Config]\nProfileID=2\n";
    MC_FUZZ_CHECK(writeMerged(exported, small, isExportKey),
                  "exporting over a readable file failed");
    const QByteArray after = readFile(exported);
    IniFile merged;
    merged.parse(after);
    MC_FUZZ_CHECK(merged.intValue(QLatin1String(keys::kProfileID)) == 2, "our key was not written");
    if (compare)
        checkKeptKeys(before, after, exportGroup(kSlotCount - 1), isExportKey);
    return 0;
}
