// Profile files (".prof"). The bytes are a profile file that ReadProfileFile reads; the record
// must be what QSettings reads from the same bytes (field by field, after the same clamping),
// must come back unchanged through WriteProfileFile and ReadProfileFile, and writing it over the
// file must keep every key of the file that is not ours with the value QSettings read before.
// (The files written are read by our reader only: QSettings would take most of a second for
// each, and our reader is held to it on every input.)
//
// Differences from QSettings that are ours on purpose, and so not compared: values in a typed
// form QSettings would decode without bound or into an undefined value (ini::safeForQSettings):
// we read them as no value, QSettings is not given such bytes at all.
#include "fuzzsupport.h"
#include "profilecheck.h"

#include "profile/inicodec.h"
#include "profile/paths.h"
#include "profile/profilefile.h"
#include "profile/profilekeys.h"

using namespace mc;
using namespace mc::fuzz;

namespace {

bool isProfileKey(const QString &key)
{
    const QString prefix = QStringLiteral("PROFILE/");
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
    const QByteArray bytes = bytesOf(data, size);
    const QString dir = scratch.next();
    setAppDir(dir); // no product description: missing lighting modes read as the built-in one
    const QString path = dir + QStringLiteral("/in.prof");
    writeFile(path, bytes);

    ProfileData ours;
    MC_FUZZ_CHECK(ReadProfileFile(ours, path), "a readable file was reported unreadable");
    checkClamped(ours);

    const bool compare = ini::safeForQSettings(bytes);
    QMap<QString, QString> before;
    if (compare) {
        ProfileData expected = readWithQSettings(path, QStringLiteral("PROFILE"), true, {});
        clampProfile(expected);
        checkSameRecord(ours, expected, "read against QSettings");
        before = qsettingsView(scratch, bytes);
    }

    // Written to a new file and read again: the same record.
    const QString copy = dir + QStringLiteral("/copy.prof");
    MC_FUZZ_CHECK(WriteProfileFile(ours, copy), "writing a new file failed");
    ProfileData back;
    MC_FUZZ_CHECK(ReadProfileFile(back, copy), "our own file was reported unreadable");
    checkSameRecord(back, ours, "written and read again");

    // Written over the file: our keys give the record, every other key keeps its value.
    MC_FUZZ_CHECK(WriteProfileFile(ours, path), "writing over a readable file failed");
    ProfileData again;
    MC_FUZZ_CHECK(ReadProfileFile(again, path), "the merged file was reported unreadable");
    checkSameRecord(again, ours, "written over the file and read again");
    if (compare)
        checkKeptKeys(before, readFile(path), isProfileKey);
    return 0;
}
