// Macro files (".MSMACRO"). The bytes are a macro file of the macro database, read the ways the
// program reads one: loadMacro (the editor), readStoredActions and readStoredCount (the upload and
// the button panel). The stored actions must be those our INI reader finds in the same bytes
// (the macro code reads through QSettings); the loaded macro must hold only well-formed actions
// and settings in range; the upload must pack it; and saved again and loaded, it must not change.
//
// Bytes that QSettings must not be given (ini::safeForQSettings) read as an empty macro: the
// macro code refuses the file rather than let QSettings decode them.
#include "fuzzsupport.h"

#include "device/macroupload.h"
#include "macro/macrofile.h"
#include "macro/macrokeys.h"
#include "profile/inicodec.h"
#include "profile/inifile.h"
#include "profile/paths.h"

#include <algorithm>

using namespace mc;
using namespace mc::fuzz;

namespace {

const QString kName = QStringLiteral("fuzzed");
const QString kCopy = QStringLiteral("again");

QString macroKey(const char *pattern, int i = -1)
{
    const QString key =
        QLatin1String(macrokeys::kGroup) + QLatin1Char('/') + QString::fromLatin1(pattern);
    return i < 0 ? key : key.arg(i);
}

uint8_t storedByte(const IniFile &ini, const char *pattern, int i)
{
    return uint8_t(std::clamp(ini.intValue(macroKey(pattern, i), 0), 0, 255));
}

// The largest index of an action key the file holds, -1 for none.
int lastStoredIndex(const IniFile &ini)
{
    int last = -1;
    const QString group = QLatin1String(macrokeys::kGroup) + QLatin1Char('/');
    const QStringList keys = ini.keys();
    for (const QString &key : keys) {
        if (!key.startsWith(group))
            continue;
        for (const char *pattern :
             {macrokeys::kMapFmt, macrokeys::kDataHFmt, macrokeys::kDataLFmt}) {
            const QString prefix = QString::fromLatin1(pattern).section(QLatin1Char('%'), 0, 0);
            if (!QStringView(key).mid(group.size()).startsWith(prefix))
                continue;
            bool ok = false;
            const int i = key.mid(group.size() + prefix.size()).toInt(&ok);
            if (ok && i > last)
                last = i;
        }
    }
    return last;
}

void checkWellFormed(const Macro &m)
{
    const MacroSettings &s = m.settings;
    MC_FUZZ_CHECK(s.defaultDelay >= 0 && s.defaultDelay <= 0xFFFF, "default delay %d",
                  s.defaultDelay);
    MC_FUZZ_CHECK(s.delayType >= 0 && s.delayType <= 2, "delay type %d", s.delayType);
    MC_FUZZ_CHECK(s.loopType >= 0 && s.loopType <= 3, "loop type %d", s.loopType);
    MC_FUZZ_CHECK(s.loopTime >= 1 && s.loopTime <= 255, "loop time %d", s.loopTime);
    for (const MacroAction &a : m.actions) {
        switch (macro::kindOf(a)) {
        case macro::kKindKey:
            MC_FUZZ_CHECK(a.DataH == 0, "key action with DataH %d", a.DataH);
            break;
        case macro::kKindMouseButton:
            MC_FUZZ_CHECK(a.DataH == 0 && macro::isKnownButtonBit(a.DataL),
                          "mouse button action %d %d", a.DataH, a.DataL);
            break;
        case macro::kKindMove:
            MC_FUZZ_CHECK(a.Map == macro::kKindMove && (a.DataH == 0 || a.DataL == 0),
                          "movement %d %d %d", a.Map, a.DataH, a.DataL);
            MC_FUZZ_CHECK(std::abs(macro::moveX(a)) <= macro::kMaxMoveStep &&
                              std::abs(macro::moveY(a)) <= macro::kMaxMoveStep,
                          "movement step beyond the limit");
            break;
        case macro::kKindDelay:
            break;
        default:
            fail("action of kind %d kept", macro::kindOf(a));
        }
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
    setAppDir(scratch.folder());
    scratch.put(macroFile(kName), bytes);
    const bool usable = ini::safeForQSettings(bytes);
    IniFile ini;
    ini.parse(bytes);

    // The raw read goes as far as the file's last stored action and one beyond it (which reads
    // as zeros), and at least as far as the upload: a Count of two billion would otherwise read
    // 4,096 actions of nothing for every input, ten thousand lookups that try nothing new.
    const int limit = int(std::clamp<qint64>(qint64(lastStoredIndex(ini)) + 2,
                                             macro::kMaxUploadActions, macro::kMaxReadActions + 1));
    const QVector<MacroAction> all = readStoredActions(kName, limit);
    const QVector<MacroAction> upload = readStoredActions(kName);
    const int storedCount = readStoredCount(kName);
    const Macro loaded = loadMacro(kName);
    if (!usable) {
        MC_FUZZ_CHECK(all.isEmpty() && storedCount == 0 && loaded.actions.isEmpty(),
                      "a file QSettings must not read gave actions");
        return 0;
    }

    // The stored actions, as our reader finds them in the same bytes.
    const int count = ini.intValue(macroKey(macrokeys::kCount), 0);
    MC_FUZZ_CHECK(all.size() == std::clamp(count, 0, std::min(limit, macro::kMaxReadActions)),
                  "%d actions read for Count %d", int(all.size()), count);
    for (int i = 0; i < all.size(); ++i) {
        const MacroAction expected{storedByte(ini, macrokeys::kMapFmt, i),
                                   storedByte(ini, macrokeys::kDataHFmt, i),
                                   storedByte(ini, macrokeys::kDataLFmt, i)};
        MC_FUZZ_CHECK(all.at(i) == expected, "action %d reads %d %d %d, our reader %d %d %d", i,
                      all.at(i).Map, all.at(i).DataH, all.at(i).DataL, expected.Map, expected.DataH,
                      expected.DataL);
    }
    MC_FUZZ_CHECK(upload == all.mid(0, macro::kMaxUploadActions), "the upload reads otherwise");
    MC_FUZZ_CHECK(storedCount >= 0 && storedCount <= std::max(count, 0) &&
                      storedCount <= macro::kMaxReadActions,
                  "stored count %d for Count %d", storedCount, count);

    checkWellFormed(loaded);
    MC_FUZZ_CHECK(loaded.actions.size() <= std::max(count, 0), "%d actions loaded for Count %d",
                  int(loaded.actions.size()), count);
    const MacroFit fit = macroFit(loaded.actions);
    MC_FUZZ_CHECK(fit.packedBytes >= 0 && fit.bytesCut >= 0 && fit.actionsCut >= 0 &&
                      fit.actionsCut <= loaded.actions.size(),
                  "fit %d %d %d", fit.packedBytes, fit.bytesCut, fit.actionsCut);
    packMacro(upload);

    MC_FUZZ_CHECK(saveMacro(kCopy, loaded), "saving the loaded macro failed");
    scratch.touch(macroFile(kCopy)); // read from the disk, not from what QSettings kept
    const Macro again = loadMacro(kCopy);
    MC_FUZZ_CHECK(again.settings == loaded.settings, "settings changed by saving");
    MC_FUZZ_CHECK(again.actions == loaded.actions, "actions changed by saving");
    return 0;
}
