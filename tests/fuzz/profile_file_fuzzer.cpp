// Profile files (".prof"). The bytes are a profile file that ReadProfileFile reads; our INI reader
// must read every key and value QSettings reads from the same bytes, and the record must be what
// QSettings' values give (field by field, after the same clamping). Written over the file and
// read again, the record must come back unchanged and every key of the file that is not ours
// must keep the value QSettings read before. That round trip writes and reads a whole record
// (8,000 keys): it runs for an input holding a value of a shape no input before held (Shapes),
// and for few of them, so that the reader is tried on many inputs a second; the other inputs are
// written over with a small text of ours, which tries the keeping of the other keys alone.
//
// Differences from QSettings that are ours on purpose, and so not compared: values in a typed
// form QSettings would decode without bound or into an undefined value (ini::safeForQSettings):
// we read them as no value, QSettings is not given such bytes at all.
#include "fuzzsupport.h"
#include "profilecheck.h"

#include "profile/inicodec.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"

using namespace mc;
using namespace mc::fuzz;

namespace {

const QString kGroup = QString::fromLatin1(profilekeys::kGroup);
// At most one input in this many writes and reads a whole record (a few milliseconds).
constexpr int kRoundTripShare = 16;

bool isProfileKey(const QString &key)
{
    const QString prefix = kGroup + QLatin1Char('/');
    return key.startsWith(prefix) &&
           profilekeys::keyTable().indexOf(QStringView(key).mid(prefix.size())) >= 0;
}

void checkClamped(const ProfileData &r)
{
    MC_FUZZ_CHECK(r.pollrate == 1 || r.pollrate == 2 || r.pollrate == 4 || r.pollrate == 8,
                  "report rate %d not clamped", r.pollrate);
    MC_FUZZ_CHECK(r.dpi < kStageCount, "stage %d not clamped", r.dpi);
    MC_FUZZ_CHECK(r.LedMode < kLedModeCount, "lighting mode %d not clamped", r.LedMode);
    for (const ButtonInfo &b : r.buttons)
        MC_FUZZ_CHECK(b.macroname.isEmpty() || isSafeFileName(b.macroname),
                      "macro name %s is no file name", qPrintable(b.macroname));
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
    static const QString path = scratch.file(QStringLiteral("in.prof"));
    setAppDir(scratch.folder()); // no product description: missing modes read as the built-in one
    const QByteArray bytes = bytesOf(data, size);
    scratch.put(path, bytes);

    ProfileData ours;
    MC_FUZZ_CHECK(ReadProfileFile(ours, path), "a readable file was reported unreadable");
    checkClamped(ours);

    IniFile ini;
    ini.parse(bytes);
    const bool compare = ini::safeForQSettings(bytes);
    View before;
    if (compare) {
        before = qsettingsView(path);
        checkSameKeys(ini, before);
        ProfileData expected = recordFromView(before, kGroup, true, {});
        clampProfile(expected);
        checkSameRecord(ours, expected, "read against QSettings");
    }

    // Written over the file and read again: the same record, and every other key keeps its
    // value. A record whose values are all of shapes written already is not written whole
    // again: the merge alone is tried, with a small text of ours.
    const auto shape = [&] {
        QVector<QByteArray> parts;
        addRecordShape(parts, ours, ini.keys(), kGroup);
        const QByteArray foreign = ini.rawLines([](const QString &k) { return !isProfileKey(k); });
        parts.append(QByteArray("m") + char(ini.utf8Marked()) + char(foreign.isEmpty()));
        return parts;
    };
    if (shapes.anyNew(shape, kRoundTripShare)) {
        MC_FUZZ_CHECK(WriteProfileFile(ours, path), "writing over a readable file failed");
        ProfileData again;
        MC_FUZZ_CHECK(ReadProfileFile(again, path), "the merged file was reported unreadable");
        checkSameRecord(again, ours, "written over the file and read again");
        if (compare)
            checkKeptKeys(before, readFile(path), kGroup, isProfileKey);
        return 0;
    }
    static const QByteArray small =
        QByteArray("[") + profilekeys::kGroup + "]\n" + profilekeys::kPollrate + "=2\n";
    MC_FUZZ_CHECK(writeMerged(path, small, isProfileKey), "writing over a readable file failed");
    const QByteArray after = readFile(path);
    IniFile merged;
    merged.parse(after);
    MC_FUZZ_CHECK(merged.intValue(kGroup + QLatin1Char('/') + profilekeys::kPollrate) == 2,
                  "our key was not written");
    if (compare)
        checkKeptKeys(before, after, kGroup, isProfileKey);
    return 0;
}
