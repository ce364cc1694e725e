// Loading and saving the profile store: the store-wide options and slot names in Config.ini,
// the five slot records in the slot files; "reset all"; configuration exports (".conf") that
// carry a whole store; and the product's profile library list. Run on the user-interface thread,
// or on the apply worker while the user-interface thread waits; nothing is kept between calls.
#pragma once

#include "profile/profiledata.h"

#include <QString>
#include <QStringList>

namespace mc {

// The name a slot gets when it has none or one that cannot name a file ("Profile 1".."5").
QString defaultSlotName(int slot);

// Reads Config.ini and the five slot files into the store, then the product's button slot map.
// The active slot is clamped to 0..4; a slot name that is empty or not a plain file name (such
// as "../x") is replaced by the slot's default name.
void LoadStore(ProfileStore &store);
// Writes the store-wide options and all five names to Config.ini and every slot's record to its
// slot file (files whose content is unchanged are not rewritten). When two slots share a name,
// the active slot's record is the one written. False when a file could not be written.
bool SaveStore(const ProfileStore &store);
// Writes `Config/ProfileID`, `Config/Count` and the five slot names.
void SaveSlotNames(const ProfileStore &store);
// Writes `Config/ProfileID` (clamped to 0..4).
void SaveActiveSlot(int slot);

// "Reset all": store-wide options to their reset values, slot 0 to a new profile, slot names
// to "Profile 1".."Profile 5". A slot whose name changes takes the record of its new name's
// file, so that the next save does not write one profile's record over another's file.
void ResetAll(ProfileStore &store);

// Writes the store as a configuration export; keys already in the file (the export mark
// written just before) are kept. False when the file could not be written.
bool ExportConfig(const ProfileStore &store, const QString &path);
// Reads a configuration export into the store; LedMoveOFF and LedSleepTime of the slots keep
// their values. Values are clamped and names replaced as in LoadStore.
void ImportConfig(ProfileStore &store, const QString &path);

// The profile library list of the product settings file. Loading drops entries that are
// empty, not plain file names, or repeated, and never reads more entries than the file holds.
void SaveLibraryList(const QStringList &names);
QStringList LoadLibraryList();

} // namespace mc
