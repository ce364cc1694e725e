// Loading and saving the profile store: the store-wide options and slot names in Config.ini,
// the five slot records in the slot files; "reset all"; configuration exports (".conf") that
// carry a whole store; and the product's profile library list. Run on the user-interface thread,
// or on the apply worker while the user-interface thread waits; nothing is kept between calls.
#pragma once

#include "profile/profiledata.h"
#include "profile/saveresult.h"

#include <QString>
#include <QStringList>

namespace mc {

// The name a slot gets when it has none or one that cannot name a file ("Profile 1".."5").
QString defaultSlotName(int slot);

// Reads Config.ini and the five slot files into the store, then the product's button slot map.
// The active slot is clamped to 0..4; a slot name that is empty or not a plain file name (such
// as "../x") is replaced by the slot's default name; a slot without a file starts as a new
// profile. False, with the store marked unreadable and the file named in unreadableFile, when
// Config.ini or a slot file is there but could not be read (too large, a folder, unreadable).
bool LoadStore(ProfileStore &store, QString *unreadableFile = nullptr);
// Writes the store-wide options and all five names to Config.ini and every slot's record to its
// slot file (files whose content is unchanged are not rewritten), all as one batch: when one
// file cannot be written in full (a full disk), none is changed. When two slots share a file,
// the active slot's record is the one written. Nothing at all is written, and the result fails,
// for a store marked unreadable, a slot name that cannot name a file, or a file to write that is
// there but could not be read.
SaveResult SaveStore(const ProfileStore &store);
// Writes `Config/ProfileID`, `Config/Count` and the five slot names; refused as SaveStore
// refuses.
SaveResult SaveSlotNames(const ProfileStore &store);
// Writes `Config/ProfileID` (clamped to 0..4).
SaveResult SaveActiveSlot(int slot);

// "Reset all": store-wide options to their reset values, slot 0 to a new profile, slot names
// to "Profile 1".."Profile 5". A slot whose name changes takes the record of its new name's
// file, so that the next save does not write one profile's record over another's file.
void ResetAll(ProfileStore &store);

// A macro of the database was renamed: every button of the five slots that names it (as
// sameFileName compares) names it anew, so that the buttons keep running it. Returns the number
// of buttons changed.
int renameMacroInStore(ProfileStore &store, const QString &from, const QString &to);

// Writes the store as a configuration export; keys already in the file (an export mark) are
// kept. Fails when the file could not be written, or is there and could not be read.
SaveResult ExportConfig(const ProfileStore &store, const QString &path);
// The same with the export mark of the product set, in the same single write.
SaveResult ExportConfigFor(const ProfileStore &store, const QString &path,
                           const QString &productName);
// Reads a configuration export into the store; LedMoveOFF and LedSleepTime of the slots keep
// their values, and so does every option, name and field the file does not hold (a file cut
// short changes only what it holds). Values are clamped and names replaced as in LoadStore.
// False, and the store untouched, when the file could not be read.
bool ImportConfig(ProfileStore &store, const QString &path);

// The profile library list of the product settings file. Loading drops entries that are
// empty, not plain file names, or name a file already listed (sameFileName), and never reads
// more entries than the file holds. Saving is refused (false) when the product settings file
// is there but could not be read, and false when it could not be written.
SaveResult SaveLibraryList(const QStringList &names);
QStringList LoadLibraryList();

} // namespace mc
