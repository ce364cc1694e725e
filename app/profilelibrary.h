// The profile library: which named profile file each of the mouse's five slots holds, the
// product's list of saved profile files, and the user's operations on them (select a slot,
// choose a library entry, rename, add, delete, copy, reset, reset all, export and import of
// one profile, save and load of the whole configuration). It edits the window's working store
// and the files; what the window has to show or do as a result arrives as signals, and every
// question, notice and file choice goes through UserPrompts. The file work itself is the
// profile layer's. User-interface thread only, and never while a write to the mouse runs.
#pragma once

#include "app/userprompts.h"
#include "profile/profiledata.h"
#include "profile/saveresult.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace mc {

class ProfileLibrary final : public QObject
{
    Q_OBJECT
public:
    // The store must outlive the library; the current slot is its active slot.
    explicit ProfileLibrary(ProfileStore &working, QObject *parent = nullptr);
    ProfileLibrary(const ProfileLibrary &) = delete;
    ProfileLibrary &operator=(const ProfileLibrary &) = delete;

    void setPrompts(const UserPrompts &prompts);
    // What hands a slot's pointer speed to the system (SetSystemPointerSpeed unless replaced).
    void setPointerSpeedApplier(std::function<void(const ProfileStore &)> apply);

    int currentSlot() const;
    QString currentName() const;
    QStringList libraryList() const { return m_library; }

    // Reads the product's library list (after the store was loaded or the product changed) and
    // announces the current slot and the list.
    void loadLibrary();
    // Start-up: the system's pointer speed becomes the active slot's. A speed the system could
    // not report leaves the slot's own value.
    void takeSystemPointerSpeed();

    // Makes slot iProfile (0..4) the current one; with bReload its record is read again from
    // its file, discarding edits. Out-of-range slots are ignored.
    void selectSlot(int iProfile, bool bReload);
    // The slot selector's menu: select without reload, tell the mouse (selectOnMouseRequested,
    // connected directly so the mouse switches first), then apply the slot's pointer speed.
    // bQuiet: the switch follows the application in front, and must not take the front itself
    // (no busy indicator).
    void chooseSlot(int iProfile, bool bQuiet = false);
    // The mouse reported a switch to slot iProfile: select it without reload and apply its
    // pointer speed; the mouse is not told again.
    void followMouseSlot(int iProfile);
    // Entry n of the library menu becomes the current slot's profile.
    bool chooseLibraryEntry(int n);

    // Renames the current profile and its file. bCheckDefault refuses the five default names.
    bool rename(const QString &newName, bool bCheckDefault);
    bool addProfile();
    bool deleteProfile();
    bool copyProfile();
    bool resetProfile();
    bool resetAll();
    bool exportProfile();
    bool importProfile();
    bool saveConfiguration();
    bool loadConfiguration();

    // "Profile 1" .. "Profile 5": the names that are neither deleted nor renamed.
    static bool isDefaultName(const QString &name);

signals:
    // The current slot or its name changed: the slot selector and the name edit follow.
    void currentChanged(int iProfile, const QString &name);
    // The library list changed: the library menu is rebuilt.
    void libraryChanged(const QStringList &names);
    // Another slot is about to become the current one (iProfile: the one left): edits the
    // panels hold but have not handed to the store yet are taken in now, or they would be
    // replaced by the next slot's values. Connect directly.
    void slotLeaving(int iProfile);
    // The working store changed under the panels: each refreshes from it.
    void panelsRefreshRequested();
    // A profile was reset: the window re-applies its translated texts.
    void textsReapplyRequested();
    // A configuration was loaded: the window shows its first tab and the hotspots again.
    void configurationLoaded();
    // The store is to be written to the mouse (bEverything: every group, changed or not).
    void writeRequested(bool bEverything);
    // The mouse is to switch to slot iProfile (bQuiet: without showing the busy indicator).
    void selectOnMouseRequested(int iProfile, bool bQuiet);
    // The user chose a slot, whose pointer speed this desktop does not take: said once a run,
    // with the reason.
    void pointerSpeedUnavailable(const QString &reason);

private:
    ProfileData &currentRecord();
    bool heldByOtherSlot(const QString &name) const;
    bool isTaken(const QString &name) const;
    bool refuseUnsafe(const QString &name);
    int libraryIndex(const QString &name) const;
    int replacementIndex(int deleted) const;
    void saveLibrary();
    // Tells the user which file could not be saved and why; nothing when it was.
    void tellIfFailed(const SaveResult &saved);
    void announceCurrent();

    ProfileStore &m_store;
    QStringList m_library;
    UserPrompts m_prompts;
    std::function<void(const ProfileStore &)> m_applyPointerSpeed;
    bool m_pointerSpeedChecked = false; // whether the desktop takes it was asked
};

} // namespace mc
