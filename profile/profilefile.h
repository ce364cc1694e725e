// Profile files (".prof"): one profile record in the group PROFILE of an INI file, key by key.
// Slot files are named after the slot names and live in the product's profile folder, the same
// folder the profile library uses; a slot file kept in the old place (K + "/Profile") is still
// read when the product folder has none. Values that would later index a table are clamped on
// reading. All functions run on the user-interface thread or on the apply worker while the
// user-interface thread waits; none keeps anything between calls.
#pragma once

#include "profile/profiledata.h"
#include "profile/saveresult.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace mc {

class IniFile;
class SaveBatch;

// Writes every stored field of the record into the file (group PROFILE). Keys of other groups
// and unknown keys already in the file are kept. The file is not touched when it already holds
// exactly this record. Fails when the file could not be written or is there but could not be read.
SaveResult WriteProfileFile(const ProfileData &record, const QString &path);
// The same write as one file of a batch saved together.
void addProfileFile(SaveBatch &batch, const ProfileData &record, const QString &path);
// Reads every stored field; missing keys give 0 (LedMoveOFF 255, LedSleepTime 1), a missing
// file a record of those defaults. Fields that are not stored (the spare byte) are left as
// they are. False when the file is there but could not be read (too large, a folder,
// unreadable): the record then holds the defaults of a missing file.
bool ReadProfileFile(ProfileData &record, const QString &path);

// The file of a slot name: in the product's profile folder, or in the old folder when it exists
// only there. Empty for a name that is not a plain file name.
QString slotFilePath(const QString &name);
// Write to / read from the slot file of the name; a name that is not a plain file name is
// refused (nothing written, record left as it is, false). A slot without a file reads as a new
// profile (BuildDefaultProfile), never as a record of zeros that would disable every stage and
// button; a slot file that is there but could not be read gives false.
SaveResult SaveSlotFile(const ProfileData &record, const QString &name);
bool LoadSlotFile(ProfileData &record, const QString &name);
// The same in the profile folder given (profileDir()): the folder follows the current product,
// which Config.ini names, and a caller reading every slot reads that name once.
QString slotFilePath(const QString &name, const QString &profileFolder);
bool LoadSlotFile(ProfileData &record, const QString &name, const QString &profileFolder);

// A record whose every field holds what a profile file without that key reads as.
const ProfileData &missingProfileValues();
// Stores the stage the mouse reported as the slot file's active stage (clamped to 0..7); false
// when the slot file could not be read or written.
SaveResult WriteStageKey(const QString &name, int stage);

// Building blocks shared with configuration exports.
void appendProfileGroup(QByteArray &out, const ProfileData &record, const QString &group,
                        bool withSleepKeys);
// keepMissing leaves the fields whose keys the file lacks as they are (a configuration file cut
// short must not switch off what it does not hold); otherwise they take their missing values.
void readProfileGroup(const IniFile &ini, ProfileData &record, const QString &group,
                      bool withSleepKeys, bool keepMissing = false);
// Brings values that serve as indexes into range: report rate 1, 2, 4 or 8 (else 1), stage
// 0..7, lighting mode 0..13 (else the product's default mode); clears macro names that are not
// plain file names.
void clampProfile(ProfileData &record);
// The bytes of a file holding old (when it exists) with ours (complete INI text) in place of our
// keys: ours, then old's keys for which isOurs is false; old itself when it already holds ours
// followed only by such keys.
QByteArray mergedText(const QByteArray &old, bool exists, const QByteArray &ours,
                      const std::function<bool(const QString &)> &isOurs,
                      const std::function<int(const QByteArray &)> &ourLayoutLength = {});
// The bytes of the file at path with ours (complete INI text) in place of our keys: ours, then
// the keys of the file for which isOurs is false. The file's own bytes when it already holds
// ours followed only by such keys. ourLayoutLength, when given, tells how much of the old file
// is known to hold only our keys, so that only the rest is searched for others. False when the
// file is there but could not be read.
bool mergedFileBytes(const QString &path, const QByteArray &ours,
                     const std::function<bool(const QString &)> &isOurs, QByteArray &bytes,
                     const std::function<int(const QByteArray &)> &ourLayoutLength = {});
// Those bytes written to the file (or, with a batch, added to it). Nothing is written when they
// are what the file holds; a file that could not be read is not replaced.
SaveResult writeMerged(const QString &path, const QByteArray &ours,
                       const std::function<bool(const QString &)> &isOurs,
                       const std::function<int(const QByteArray &)> &ourLayoutLength = {});
void addMerged(SaveBatch &batch, const QString &path, const QByteArray &ours,
               const std::function<bool(const QString &)> &isOurs,
               const std::function<int(const QByteArray &)> &ourLayoutLength = {});

} // namespace mc
