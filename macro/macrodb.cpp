// Whole-macro operations on the macro folder and the macro list.
#include "macro/macrodb.h"

#include "macro/macrokeys.h"
#include "macro/macrolist.h"
#include "profile/filesave.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mc {

namespace {

constexpr char kContext[] = "MacroDialog";
constexpr char kNewMacroBase[] = QT_TRANSLATE_NOOP("MacroDialog", "MACRO");
// Beyond this many _n suffixes something is wrong with the folder; give up rather than spin.
constexpr int kMaxSuffix = 10000;

MacroResult result(MacroOutcome outcome, const QString &name = QString())
{
    return {outcome, name, QString()};
}

MacroResult failed(const QString &name, const SaveResult &saved)
{
    return {MacroOutcome::Failed, name, saved.message()};
}

bool copyInto(const QString &source, const QString &target)
{
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return false;
    return QFile::copy(source, target);
}

// Keeps the file's record of its own path true after a move.
SaveResult updateStoredPath(const QString &path)
{
    if (!settingsFileUsable(path))
        return {}; // not one QSettings may read; the macro code reads it as empty anyway
    return editSettingsFile(path, [&](IniFile &ini) {
        ini.setString(QLatin1String(macrokeys::kGroup) + QLatin1Char('/') +
                          QLatin1String(macrokeys::kFilePath),
                      path);
    });
}

// A name is taken by a file, and also by a list entry whose file went missing: handing that name
// out again would list one macro twice.
bool nameTaken(const QString &name)
{
    return QFileInfo::exists(macroFile(name)) || isMacroListed(name);
}

MacroResult importOne(const QString &sourcePath, bool keepExisting)
{
    const QFileInfo source(sourcePath);
    const QString name = source.completeBaseName();
    if (!isSafeFileName(name))
        return result(MacroOutcome::InvalidName, name);
    if (!source.isFile())
        return result(MacroOutcome::NotFound, name);
    if (source.size() > macro::kMaxFileSize)
        return result(MacroOutcome::NotAMacro, name);
    if (macroFileExists(name)) {
        if (!keepExisting)
            return result(MacroOutcome::Exists, name);
        // Batch import keeps the file already there but still lists the name.
        return result(addToMacroList(name) >= 0 ? MacroOutcome::Exists : MacroOutcome::TooMany,
                      name);
    }
    if (!isMacroListed(name) && freeMacroSlot() < 0)
        return result(MacroOutcome::TooMany, name);
    if (!copyInto(sourcePath, macroFile(name)))
        return result(MacroOutcome::Failed, name);
    addToMacroList(name);
    return result(MacroOutcome::Done, name);
}

} // namespace

QString uniqueMacroName(const QString &wanted)
{
    if (!isSafeFileName(wanted))
        return {};
    if (!nameTaken(wanted))
        return wanted;
    for (int n = 2; n < kMaxSuffix; ++n) {
        const QString candidate = wanted + QLatin1Char('_') + QString::number(n);
        if (!nameTaken(candidate))
            return candidate;
    }
    return {};
}

MacroResult createMacro()
{
    QString base = QCoreApplication::translate(kContext, kNewMacroBase);
    if (!isSafeFileName(base))
        base = QLatin1String(kNewMacroBase); // a translation must not lead outside the folder
    if (freeMacroSlot() < 0)
        return result(MacroOutcome::TooMany);
    for (int n = 1; n < kMaxSuffix; ++n) {
        const QString name = base + QLatin1Char('_') + QString::number(n);
        if (nameTaken(name))
            continue;
        const SaveResult saved = saveMacro(name, Macro());
        if (!saved)
            return failed(name, saved);
        addToMacroList(name);
        return result(MacroOutcome::Done, name);
    }
    return result(MacroOutcome::Failed);
}

MacroResult createMacro(const QString &wanted, const Macro &content)
{
    if (!isSafeFileName(wanted))
        return result(MacroOutcome::InvalidName, wanted);
    if (freeMacroSlot() < 0)
        return result(MacroOutcome::TooMany, wanted);
    const QString name = uniqueMacroName(wanted);
    if (name.isEmpty())
        return result(MacroOutcome::Failed, wanted);
    const SaveResult saved = saveMacro(name, content, false);
    if (!saved)
        return failed(wanted, saved);
    addToMacroList(name);
    return result(MacroOutcome::Done, name);
}

MacroResult renameMacro(const QString &oldName, const QString &newName)
{
    if (newName == oldName)
        return result(MacroOutcome::Unchanged, oldName);
    if (!isSafeFileName(oldName) || !isSafeFileName(newName))
        return result(MacroOutcome::InvalidName, oldName);
    if (!macroFileExists(oldName))
        return result(MacroOutcome::NotFound, oldName);
    const QString name = uniqueMacroName(newName);
    if (name.isEmpty())
        return result(MacroOutcome::Failed, oldName);
    const QString from = macroFile(oldName);
    const QString to = macroFile(name);
    // The move itself needs no room; the file's record of its path and the list do. Should
    // either fail (a full disk), the move is undone, so the macro stays whole under its old
    // name rather than half renamed.
    if (!QFile::rename(from, to))
        return failed(oldName,
                      SaveResult::failed(to, QStringLiteral("the file could not be renamed")));
    SaveResult saved = updateStoredPath(to);
    if (saved && isMacroListed(oldName) && replaceInMacroList(oldName, name) < 0)
        saved = SaveResult::failed(appSettingsFile(),
                                   QStringLiteral("the macro list could not be saved"));
    if (!saved) {
        QFile::rename(to, from);
        return failed(oldName, saved);
    }
    return result(MacroOutcome::Done, name);
}

MacroOutcome deleteMacro(const QString &name)
{
    if (!isSafeFileName(name))
        return MacroOutcome::InvalidName;
    const bool hadFile = macroFileExists(name);
    if (hadFile && !QFile::remove(macroFile(name)))
        return MacroOutcome::Failed;
    const bool wasListed = removeFromMacroList(name) >= 0;
    return hadFile || wasListed ? MacroOutcome::Done : MacroOutcome::NotFound;
}

MacroResult importMacro(const QString &sourcePath)
{
    return importOne(sourcePath, false);
}

QVector<MacroResult> importMacros(const QStringList &sourcePaths)
{
    QVector<MacroResult> results;
    results.reserve(sourcePaths.size());
    for (const QString &path : sourcePaths)
        results.append(importOne(path, true));
    return results;
}

MacroOutcome exportMacro(const QString &name, const QString &targetPath, bool overwrite)
{
    if (!isSafeFileName(name))
        return MacroOutcome::InvalidName;
    if (!macroFileExists(name))
        return MacroOutcome::NotFound;
    if (targetPath.isEmpty())
        return MacroOutcome::InvalidName;
    if (QFileInfo::exists(targetPath) && !overwrite)
        return MacroOutcome::Exists;
    QFile source(macroFile(name));
    if (source.size() > macro::kMaxFileSize || !source.open(QIODevice::ReadOnly))
        return MacroOutcome::Failed;
    const QByteArray data = source.readAll();
    // Written beside the target and renamed over it: a failed export leaves the old file intact.
    return saveFileAtomically(targetPath, data) ? MacroOutcome::Done : MacroOutcome::Failed;
}

QVector<MacroResult> exportMacros(const QStringList &names, const QString &folder)
{
    QVector<MacroResult> results;
    results.reserve(names.size());
    for (const QString &name : names) {
        const QString target = QDir(folder).filePath(name + QLatin1String(".MSMACRO"));
        results.append(result(exportMacro(name, target, false), name));
    }
    return results;
}

const char *macroOutcomeSourceText(MacroOutcome outcome)
{
    switch (outcome) {
    case MacroOutcome::Exists:
        return QT_TRANSLATE_NOOP("MacroDialog", "Macro Exist!");
    case MacroOutcome::TooMany:
        return QT_TRANSLATE_NOOP("MacroDialog", "TOO MANY MACROS TO BE CREATE!");
    case MacroOutcome::InvalidName:
        return QT_TRANSLATE_NOOP("MacroDialog", "INVALID MACRO NAME!");
    case MacroOutcome::NotFound:
        return QT_TRANSLATE_NOOP("MacroDialog", "MACRO FILE NOT FOUND!");
    case MacroOutcome::NotAMacro:
        return QT_TRANSLATE_NOOP("MacroDialog", "NOT A MACRO FILE!");
    case MacroOutcome::Failed:
        return QT_TRANSLATE_NOOP("MacroDialog", "MACRO FILE COULD NOT BE WRITTEN!");
    case MacroOutcome::Done:
    case MacroOutcome::Unchanged:
        break;
    }
    return nullptr;
}

QString macroOutcomeText(MacroOutcome outcome)
{
    const char *text = macroOutcomeSourceText(outcome);
    return text ? QCoreApplication::translate(kContext, text) : QString();
}

QString macroOutcomeTitle(MacroOutcome outcome)
{
    if (!macroOutcomeSourceText(outcome))
        return {};
    return outcome == MacroOutcome::TooMany
               ? QCoreApplication::translate(kContext, QT_TRANSLATE_NOOP("MacroDialog", "WARNING"))
               : QCoreApplication::translate(kContext, QT_TRANSLATE_NOOP("MacroDialog", "Warning"));
}

} // namespace mc
