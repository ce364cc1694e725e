// The profile library's operations. Every refusal leaves the list, the files and the records
// as they were. Names are checked before any file is touched: a name that cannot be a plain
// file name inside the profile folder is refused, and whether a name is taken is asked of the
// file system, the library list and the slot names alike (a name held by a slot but not yet
// saved is taken too: two slots sharing one file would write over each other's settings).
#include "app/profilelibrary.h"
#include "app/log.h"

#include "platform/pointerspeed.h"
#include "profile/configfile.h"
#include "profile/filesave.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/profilefile.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mc {

namespace {

QString notWrittenText()
{
    return QObject::tr("PROFILE FILE COULD NOT BE WRITTEN!");
}

// The short text and below it the file and the system's reason.
QString withReason(const QString &text, const SaveResult &saved)
{
    return saved.ok() ? text : text + QLatin1Char('\n') + saved.message();
}

// Copies through memory and replaces the target atomically, so that a failed copy leaves no
// half-written profile; a source too large to be a profile file is not read.
SaveResult copyProfileFile(const QString &from, const QString &to)
{
    QByteArray bytes;
    QString reason;
    if (!readRegularFile(from, IniFile::kMaxFileSize, bytes, &reason))
        return SaveResult::failed(from, reason);
    return IniFile::writeFileBytes(to, bytes);
}

} // namespace

ProfileLibrary::ProfileLibrary(ProfileStore &working, QObject *parent)
    : QObject(parent), m_store(working), m_applyPointerSpeed(SetSystemPointerSpeed)
{}

void ProfileLibrary::setPrompts(const UserPrompts &prompts)
{
    m_prompts = prompts;
}

void ProfileLibrary::setPointerSpeedApplier(std::function<void(const ProfileStore &)> apply)
{
    m_applyPointerSpeed = std::move(apply);
}

int ProfileLibrary::currentSlot() const
{
    return m_store.ProfileID < kSlotCount ? m_store.ProfileID : 0;
}

QString ProfileLibrary::currentName() const
{
    return m_store.names[size_t(currentSlot())];
}

ProfileData &ProfileLibrary::currentRecord()
{
    return m_store.profiles[size_t(currentSlot())];
}

bool ProfileLibrary::isDefaultName(const QString &name)
{
    for (int i = 0; i < kSlotCount; ++i) {
        if (sameFileName(name, defaultSlotName(i)))
            return true;
    }
    return false;
}

bool ProfileLibrary::heldByOtherSlot(const QString &name) const
{
    for (int i = 0; i < kSlotCount; ++i) {
        if (i != currentSlot() && sameFileName(m_store.names[size_t(i)], name))
            return true;
    }
    return false;
}

bool ProfileLibrary::isTaken(const QString &name) const
{
    if (QFileInfo::exists(slotFilePath(name)) || libraryIndex(name) >= 0)
        return true;
    for (const QString &slotName : m_store.names) {
        if (sameFileName(slotName, name))
            return true;
    }
    return false;
}

bool ProfileLibrary::refuseUnsafe(const QString &name)
{
    if (isSafeFileName(name))
        return false;
    m_prompts.tellUser(2, QObject::tr("INVALID PROFILE NAME!"));
    return true;
}

int ProfileLibrary::libraryIndex(const QString &name) const
{
    for (int n = 0; n < m_library.size(); ++n) {
        if (sameFileName(m_library.at(n), name))
            return n;
    }
    return -1;
}

int ProfileLibrary::replacementIndex(int deleted) const
{
    const int count = m_library.size();
    const auto usable = [&](int k) {
        return k >= 0 && k < count && k != deleted && !heldByOtherSlot(m_library.at(k));
    };
    if (deleted < 0) {
        for (int k = 0; k < count; ++k) {
            if (usable(k))
                return k;
        }
        return -1;
    }
    // The entry after the deleted one (before it for the last), stepping back past entries
    // that other slots hold and past the deleted entry itself.
    int k = deleted == count - 1 ? deleted - 1 : deleted + 1;
    while (k >= 0 && !usable(k))
        --k;
    if (k >= 0)
        return k;
    // Every earlier entry belongs to another slot: the nearest neighbour no other slot uses.
    for (int d = 1; d < count; ++d) {
        if (usable(deleted + d))
            return deleted + d;
        if (usable(deleted - d))
            return deleted - d;
    }
    return -1;
}

void ProfileLibrary::saveLibrary()
{
    tellIfFailed(SaveLibraryList(m_library));
    emit libraryChanged(m_library);
}

void ProfileLibrary::tellIfFailed(const SaveResult &saved)
{
    if (!saved)
        m_prompts.tellUser(2, saved.message());
}

void ProfileLibrary::announceCurrent()
{
    emit currentChanged(currentSlot(), currentName());
}

void ProfileLibrary::loadLibrary()
{
    m_library = LoadLibraryList();
    emit libraryChanged(m_library);
    announceCurrent();
}

void ProfileLibrary::takeSystemPointerSpeed()
{
    const int speed = GetSystemPointerSpeed();
    // 0 means the system could not tell; storing it would lose the slot's own speed.
    if (speed > 0)
        currentRecord().mousespeed = uint8_t(speed & 0xFF);
}

void ProfileLibrary::selectSlot(int iProfile, bool bReload)
{
    if (iProfile < 0 || iProfile >= kSlotCount)
        return;
    if (!bReload && iProfile != m_store.ProfileID)
        emit slotLeaving(m_store.ProfileID);
    m_store.ProfileID = uint8_t(iProfile);
    if (bReload) {
        ProfileData &record = currentRecord();
        LoadSlotFile(record, currentName());
        record.ProfileName = currentName();
    }
    announceCurrent();
    emit panelsRefreshRequested();
    // Also run for the mouse's own slot button and for the application in front: no box for
    // those. The mouse holds the slot; a record that failed is written at the next save.
    const SaveResult saved = SaveActiveSlot(iProfile);
    if (!saved)
        qCDebug(lcApp, "%s", qPrintable(saved.message()));
}

void ProfileLibrary::chooseSlot(int iProfile, bool bQuiet)
{
    if (iProfile < 0 || iProfile >= kSlotCount)
        return;
    selectSlot(iProfile, false);
    emit libraryChanged(m_library);
    emit selectOnMouseRequested(iProfile, bQuiet);
    if (m_applyPointerSpeed)
        m_applyPointerSpeed(m_store);
    // Not at start-up, where nobody asked, nor at each switch: the first the user makes.
    if (!bQuiet && !m_pointerSpeedChecked) {
        m_pointerSpeedChecked = true;
        const QString reason = pointerSpeedUnavailableReason();
        if (!reason.isEmpty())
            emit pointerSpeedUnavailable(reason);
    }
}

void ProfileLibrary::followMouseSlot(int iProfile)
{
    if (iProfile < 0 || iProfile >= kSlotCount)
        return;
    selectSlot(iProfile, false);
    emit libraryChanged(m_library);
    if (m_applyPointerSpeed)
        m_applyPointerSpeed(m_store);
}

bool ProfileLibrary::chooseLibraryEntry(int n)
{
    if (n < 0 || n >= m_library.size())
        return false;
    const QString name = m_library.at(n);
    if (heldByOtherSlot(name)) {
        m_prompts.tellUser(2, QObject::tr("Profile is Already Used!"));
        return false;
    }
    m_store.names[size_t(currentSlot())] = name;
    ProfileData &record = currentRecord();
    LoadSlotFile(record, name);
    record.ProfileName = name;
    announceCurrent();
    emit panelsRefreshRequested();
    return true;
}

bool ProfileLibrary::rename(const QString &newName, bool bCheckDefault)
{
    const QString oldName = currentName();
    if (bCheckDefault && isDefaultName(oldName)) {
        m_prompts.tellUser(2, QObject::tr("The default Profile cannot be deleted or renamed."));
        return false;
    }
    if (refuseUnsafe(newName))
        return false;
    if (isTaken(newName)) {
        m_prompts.tellUser(2, QObject::tr("Profile Exist!"));
        return false;
    }
    // A profile never saved has no file yet: the next write saves it under the new name.
    const QString oldFile = slotFilePath(oldName);
    QDir().mkpath(profileDir()); // a file still in the old folder moves to the product's
    if (!oldFile.isEmpty() && QFileInfo::exists(oldFile) &&
        !QFile::rename(oldFile, profileFile(newName)))
        qCDebug(lcApp, "Rename of the profile file %s failed", qPrintable(oldFile));
    const int n = libraryIndex(oldName);
    if (n >= 0)
        m_library[n] = newName;
    else
        m_library.append(newName);
    m_store.names[size_t(currentSlot())] = newName;
    currentRecord().ProfileName = newName;
    // The list is saved as well: otherwise the next start would list the old name, whose file
    // is gone, and no longer list the new one.
    saveLibrary();
    tellIfFailed(SaveSlotNames(m_store));
    announceCurrent();
    return true;
}

bool ProfileLibrary::addProfile()
{
    QString name;
    for (int n = 1;; ++n) {
        name = QString::asprintf("Profile %d", n);
        if (!isTaken(name))
            break;
    }
    SaveResult saved;
    if (!QFileInfo::exists(defaultProfileFile()))
        saved = WriteDefaultProfileFile();
    // Without its file the new entry would load as a record of zeros and be written so.
    if (saved)
        saved = copyProfileFile(defaultProfileFile(), profileFile(name));
    if (!saved) {
        m_prompts.tellUser(2, withReason(notWrittenText(), saved));
        return false;
    }
    m_library.append(name);
    saveLibrary();
    m_store.names[size_t(currentSlot())] = name;
    announceCurrent();
    ReadProfileFile(currentRecord(), profileFile(name));
    emit panelsRefreshRequested();
    return true;
}

bool ProfileLibrary::deleteProfile()
{
    if (m_library.size() <= 1) {
        m_prompts.tellUser(2, QObject::tr("AT LEAST ONE PROFILE TO BE RETAINED."));
        return false;
    }
    const QString name = currentName();
    if (isDefaultName(name)) {
        m_prompts.tellUser(2, QObject::tr("The default Profile cannot be deleted or renamed."));
        return false;
    }
    const int deleted = libraryIndex(name);
    const int replacement = replacementIndex(deleted);
    if (replacement < 0) { // every other entry belongs to another slot
        m_prompts.tellUser(2, QObject::tr("AT LEAST ONE PROFILE TO BE RETAINED."));
        return false;
    }
    if (!m_prompts.askUser(1, QObject::tr("Are you sure you want delete this profile?")))
        return false;
    const QString next = m_library.at(replacement);
    if (deleted >= 0)
        m_library.removeAt(deleted);
    // A file another slot still names stays; so does none at all of a never-saved profile.
    // The old folder may hold a copy that would otherwise come back under the same name.
    for (int i = 0; i < 2 && !heldByOtherSlot(name); ++i) {
        const QString file = slotFilePath(name);
        if (file.isEmpty() || !QFileInfo::exists(file) || !QFile::remove(file))
            break;
    }
    m_store.names[size_t(currentSlot())] = next;
    saveLibrary();
    // The slot must not keep naming the removed file until the next write.
    tellIfFailed(SaveSlotNames(m_store));
    announceCurrent();
    LoadSlotFile(currentRecord(), next);
    emit panelsRefreshRequested();
    return true;
}

bool ProfileLibrary::copyProfile()
{
    const QString base = currentName();
    QString candidate = base + QStringLiteral(" copy");
    for (int n = 1; isTaken(candidate); ++n)
        candidate = base + QString::asprintf(" copy %d", n);
    if (refuseUnsafe(candidate))
        return false;
    const QString source = slotFilePath(base);
    // A profile never saved is copied from what the slot holds.
    const SaveResult copied = QFileInfo::exists(source)
                                  ? copyProfileFile(source, profileFile(candidate))
                                  : SaveSlotFile(currentRecord(), candidate);
    if (!copied) {
        m_prompts.tellUser(2, withReason(notWrittenText(), copied));
        return false;
    }
    m_library.append(candidate);
    m_store.names[size_t(currentSlot())] = candidate;
    announceCurrent();
    saveLibrary();
    return true;
}

bool ProfileLibrary::resetProfile()
{
    if (!m_prompts.askUser(1, QObject::tr("Are you sure you want reset this profile?")))
        return false;
    BuildDefaultProfile(currentRecord());
    emit textsReapplyRequested();
    emit panelsRefreshRequested();
    announceCurrent();
    emit writeRequested(false);
    return true;
}

bool ProfileLibrary::resetAll()
{
    if (!m_prompts.askUser(1, QObject::tr("Are you sure you want reset all profiles?")))
        return false;
    ResetAll(m_store);
    emit panelsRefreshRequested();
    announceCurrent();
    emit writeRequested(true);
    return true;
}

bool ProfileLibrary::exportProfile()
{
    const QString path =
        m_prompts.saveFile(QObject::tr("Save Profile File"), QObject::tr("Profile File(*.prof)"));
    if (path.isEmpty())
        return false;
    const QString name = currentName();
    if (refuseUnsafe(name))
        return false;
    // A profile never saved has no file: it is saved first, so the export carries it.
    SaveResult saved;
    if (!QFileInfo::exists(slotFilePath(name)))
        saved = SaveSlotFile(currentRecord(), name);
    const QString source = slotFilePath(name);
    // The mark goes only into a file that could be read, never over one that could not.
    QByteArray bytes;
    if (saved && IniFile::readFileBytes(source, bytes))
        saved = WriteExportMark(source, readCurrentProduct());
    if (saved)
        saved = copyProfileFile(source, path);
    if (!saved) {
        m_prompts.tellUser(2, withReason(notWrittenText(), saved));
        return false;
    }
    return true;
}

bool ProfileLibrary::importProfile()
{
    const QString path =
        m_prompts.openFile(QObject::tr("Load Profile File"), QObject::tr("Profile File(*.prof)"));
    if (path.isEmpty())
        return false;
    if (ReadExportMark(path) != readCurrentProduct()) {
        m_prompts.tellUser(2, QObject::tr("The file is not match current mouse!"));
        return false;
    }
    const QString name = QFileInfo(path).completeBaseName();
    if (refuseUnsafe(name))
        return false;
    if (isTaken(name)) {
        m_prompts.tellUser(2, QObject::tr("Profile Exist!"));
        return false;
    }
    const SaveResult copied = copyProfileFile(path, profileFile(name));
    if (!copied) {
        m_prompts.tellUser(2, withReason(notWrittenText(), copied));
        return false;
    }
    m_library.append(name);
    saveLibrary();
    m_store.names[size_t(currentSlot())] = name;
    ReadProfileFile(currentRecord(), profileFile(name));
    emit panelsRefreshRequested();
    announceCurrent();
    emit writeRequested(false);
    return true;
}

bool ProfileLibrary::saveConfiguration()
{
    QString path =
        m_prompts.saveFile(QObject::tr("Save Config File"), QObject::tr("Config File(*.conf)"));
    if (path.isEmpty())
        return false;
    // A name without an extension gets the one "LOAD" looks for; the dialog asked about
    // replacing the name typed, not this one, so the question is asked here.
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".conf");
        if (QFileInfo::exists(path) &&
            !m_prompts.askUser(1, QObject::tr("%1 already exists. Do you want to replace it?")
                                      .arg(QFileInfo(path).fileName())))
            return false;
    }
    SaveResult saved;
    if (SaveConfigFile(m_store, path, &saved) != ConfigFileResult::Done) {
        m_prompts.tellUser(2, withReason(QObject::tr("CONFIG FILE COULD NOT BE WRITTEN!"), saved));
        return false;
    }
    return true;
}

bool ProfileLibrary::loadConfiguration()
{
    const QString path =
        m_prompts.openFile(QObject::tr("Load Config File"), QObject::tr("Config File(*.conf)"));
    if (path.isEmpty())
        return false;
    // A file that could not be read has no mark to match.
    if (LoadConfigFile(m_store, path) != ConfigFileResult::Done) {
        m_prompts.tellUser(2, QObject::tr("The file is not match current mouse!"));
        return false;
    }
    announceCurrent();
    emit configurationLoaded();
    emit panelsRefreshRequested();
    emit writeRequested(false);
    return true;
}

} // namespace mc
