// Reading and writing macro files. The files are INI files that users import from anywhere, so
// every value is range-checked and no loop runs longer than the file itself.
#include "macro/macrofile.h"

#include "macro/macrokeys.h"
#include "profile/boundedsettings.h"
#include "profile/filesave.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <map>
#include <vector>

namespace mc {

namespace {

QString key(const char *pattern, int n)
{
    return QString::fromLatin1(pattern).arg(n);
}

int readInt(const QSettings &s, const QString &k, int def)
{
    bool ok = false;
    const int v = s.value(k).toInt(&ok);
    return ok ? v : def;
}
int readInt(const QSettings &s, const char *k, int def)
{
    return readInt(s, QLatin1String(k), def);
}

uint8_t readByte(const QSettings &s, const QString &k)
{
    return static_cast<uint8_t>(std::clamp(readInt(s, k, 0), 0, 255));
}

// The file of a name we may open, or an empty string when the name could reach outside the
// macro folder or the file is too large to be a macro or holds what QSettings must not decode.
QString readableFile(const QString &name)
{
    if (!isSafeFileName(name))
        return {};
    const QString path = macroFile(name);
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > macro::kMaxFileSize || !settingsFileUsable(path))
        return {};
    return path;
}

MacroSettings readSettings(const QSettings &s)
{
    MacroSettings d;
    MacroSettings m;
    m.defaultDelay = std::clamp(readInt(s, macrokeys::kDefaultDelay, d.defaultDelay), 0, 0xFFFF);
    m.delayType = readInt(s, macrokeys::kDelayType, d.delayType);
    if (m.delayType < 0 || m.delayType > 2)
        m.delayType = d.delayType;
    m.loopType = readInt(s, macrokeys::kLoopType, d.loopType);
    if (m.loopType < 0 || m.loopType > 3)
        m.loopType = d.loopType;
    m.loopTime = std::clamp(readInt(s, macrokeys::kLoopTime, d.loopTime), 1, 255);
    return m;
}

// Index of an action key ("Map_12" -> 12), or -1 when the key is not of that pattern.
int actionIndex(const QString &k, const char *prefix, Qt::CaseSensitivity cs = Qt::CaseSensitive)
{
    const QLatin1String p(prefix);
    if (!k.startsWith(p, cs))
        return -1;
    bool ok = false;
    const int i = k.mid(p.size()).toInt(&ok);
    return ok && i >= 0 ? i : -1;
}

// Rebuilds one stored action by kind. Returns false for actions the format drops.
bool rebuild(const MacroAction &stored, MacroAction &out)
{
    switch (macro::kindOf(stored)) {
    case macro::kKindKey:
        out = macro::isPress(stored) ? macro::keyPress(stored.DataL)
                                     : macro::keyRelease(stored.DataL);
        return true;
    case macro::kKindMouseButton:
        if (!macro::isKnownButtonBit(stored.DataL))
            return false;
        out = macro::isPress(stored) ? macro::buttonPress(stored.DataL)
                                     : macro::buttonRelease(stored.DataL);
        return true;
    case macro::kKindMove:
        if (stored.DataH != 0 && stored.DataL != 0)
            out = macro::move(0, 0);
        else if (stored.DataL != 0)
            out = macro::move(macro::stepValue(stored.DataL), 0);
        else
            out = macro::move(0, macro::stepValue(stored.DataH));
        return true;
    case macro::kKindDelay:
        out = stored;
        return true;
    default:
        return false;
    }
}

} // namespace

bool macroFileExists(const QString &name)
{
    return isSafeFileName(name) && QFileInfo(macroFile(name)).isFile();
}

SaveResult saveMacro(const QString &name, const Macro &macro, bool bMarkEdited)
{
    if (!isSafeFileName(name))
        return SaveResult::unsafeName(name);
    if (!QDir().mkpath(macroDir()))
        return SaveResult::failed(macroDir(), QStringLiteral("the folder could not be created"));
    const QString path = macroFile(name);
    // Saving replaces the macro whole; a file that QSettings could not even read
    // (settingsFileUsable) reads as an empty macro, and the atomic save would refuse to replace
    // what it cannot read, so it goes first.
    if (!settingsFileUsable(path) && !QFile::remove(path))
        return SaveResult::unreadable(path);
    IniFile ini;
    const QString group = QLatin1String(macrokeys::kGroup) + QLatin1Char('/');
    const auto set = [&](const QString &k, int value) { ini.setInt(group + k, value); };
    ini.setString(group + QLatin1String(macrokeys::kFilePath), path);
    set(QLatin1String(macrokeys::kDefaultDelay), macro.settings.defaultDelay);
    set(QLatin1String(macrokeys::kDelayType), macro.settings.delayType);
    set(QLatin1String(macrokeys::kLoopType), macro.settings.loopType);
    set(QLatin1String(macrokeys::kLoopTime), macro.settings.loopTime);
    set(QLatin1String(macrokeys::kCount), macro.actions.size());
    for (int i = 0; i < macro.actions.size(); ++i) {
        const MacroAction &a = macro.actions.at(i);
        set(key(macrokeys::kMapFmt, i), a.Map);
        set(key(macrokeys::kDataHFmt, i), a.DataH);
        set(key(macrokeys::kDataLFmt, i), a.DataL);
    }
    if (bMarkEdited)
        set(QLatin1String(macrokeys::kWriteSign), 1);
    return saveFileAtomically(path, ini.toBytes());
}

Macro loadMacro(const QString &name)
{
    Macro m;
    const QString path = readableFile(name);
    if (path.isEmpty())
        return m;
    QSettings s(path, iniSettingsFormat());
    readAllGroups(s);
    s.beginGroup(QLatin1String(macrokeys::kGroup));
    m.settings = readSettings(s);
    const int count = readInt(s, macrokeys::kCount, 0);
    if (count <= 0)
        return m;

    // Only actions whose Map is stored can survive the rebuild (Map 0 is no kind), so walk the
    // stored keys rather than 0..Count: a damaged Count of two billion costs nothing.
    std::map<int, bool> indexes;
    const QStringList childKeys = s.childKeys();
    for (const QString &k : childKeys) {
        const int i = actionIndex(k, "Map_");
        if (i >= 0 && i < count)
            indexes[i] = true;
    }
    m.actions.reserve(static_cast<int>(indexes.size()));
    for (const auto &entry : indexes) {
        const int i = entry.first;
        const MacroAction stored{readByte(s, key(macrokeys::kMapFmt, i)),
                                 readByte(s, key(macrokeys::kDataHFmt, i)),
                                 readByte(s, key(macrokeys::kDataLFmt, i))};
        MacroAction rebuilt;
        if (rebuild(stored, rebuilt))
            m.actions.append(rebuilt);
    }
    return m;
}

QVector<MacroAction> readStoredActions(const QString &name, int maxActions)
{
    QVector<MacroAction> actions;
    const QString path = readableFile(name);
    if (path.isEmpty())
        return actions;
    QSettings s(path, iniSettingsFormat());
    readAllGroups(s);
    s.beginGroup(QLatin1String(macrokeys::kGroup));
    const int limit = std::clamp(maxActions, 0, macro::kMaxReadActions);
    const int n = std::clamp(readInt(s, macrokeys::kCount, 0), 0, limit);
    // Actions up to Count, those without keys as zero bytes; only the actions the file has a
    // key of are looked up, so a damaged Count costs no lookups beyond the file's own keys.
    // The indexes are taken loosely ("map_05" counts for 5): a key the lookup below would find
    // is never missed.
    actions.fill(MacroAction(), n);
    std::vector<char> stored(size_t(n), 0);
    const QStringList childKeys = s.childKeys();
    for (const QString &k : childKeys) {
        for (const char *prefix : {"Map_", "DataH_", "DataL_"}) {
            const int i = actionIndex(k, prefix, Qt::CaseInsensitive);
            if (i >= 0 && i < n)
                stored[size_t(i)] = 1;
        }
    }
    for (int i = 0; i < n; ++i) {
        if (!stored[size_t(i)])
            continue;
        actions[i] = {readByte(s, key(macrokeys::kMapFmt, i)),
                      readByte(s, key(macrokeys::kDataHFmt, i)),
                      readByte(s, key(macrokeys::kDataLFmt, i))};
    }
    return actions;
}

int readStoredCount(const QString &name)
{
    const QString path = readableFile(name);
    if (path.isEmpty())
        return 0;
    QSettings s(path, iniSettingsFormat());
    readAllGroups(s);
    s.beginGroup(QLatin1String(macrokeys::kGroup));
    const int count = readInt(s, macrokeys::kCount, 0);
    if (count <= 0)
        return 0;
    int last = -1;
    const QStringList childKeys = s.childKeys();
    for (const QString &k : childKeys) {
        for (const char *prefix : {"Map_", "DataH_", "DataL_"})
            last = std::max(last, actionIndex(k, prefix));
    }
    const int present = std::min(last, macro::kMaxReadActions - 1) + 1;
    return std::min(count, present);
}

namespace macro {
int delayUnit()
{
    return sanitizeDelayUnit(readMinDelay());
}
} // namespace macro

} // namespace mc
