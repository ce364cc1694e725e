// A whole configuration saved to and loaded from a ".conf" file as the user does it: the
// window's "Save Config File" and "Load Config File" and mousecfg-cli's export-config and
// import-config run this one piece of code. Called on the user-interface thread (or the CLI's
// only thread) while no write to the mouse runs.
#pragma once

#include "profile/profiledata.h"
#include "profile/saveresult.h"

#include <QString>

namespace mc {

enum class ConfigFileResult
{
    Done,
    NotWritten,   // save: the file could not be written, or is there and could not be read
    Unreadable,   // load: the file is missing, a folder, too large or not readable
    OtherProduct, // load: its export mark is not the current product ("The file is not match
                  // current mouse!")
};

// Writes the export mark (the current product name) and the store's configuration in one atomic
// write. A file already at the path is replaced, keeping keys that are not ours; one that could
// not be read is left untouched (NotWritten). saved, when given, receives the file and the
// reason of a failure.
ConfigFileResult SaveConfigFile(const ProfileStore &store, const QString &path,
                                SaveResult *saved = nullptr);

// Reads the configuration into the store when the file's export mark names the current product;
// otherwise the store is left exactly as it was.
ConfigFileResult LoadConfigFile(ProfileStore &store, const QString &path);

} // namespace mc
