// Configuration files as the user saves and loads them: the product check before a load, and
// never a write over a file that could not be read.
#include "profile/configfile.h"

#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QFileInfo>

namespace mc {

ConfigFileResult SaveConfigFile(const ProfileStore &store, const QString &path, SaveResult *saved)
{
    const SaveResult result = ExportConfigFor(store, path, readCurrentProduct());
    if (saved)
        *saved = result;
    return result ? ConfigFileResult::Done : ConfigFileResult::NotWritten;
}

ConfigFileResult LoadConfigFile(ProfileStore &store, const QString &path)
{
    if (!QFileInfo(path).isFile() || !settingsFileUsable(path))
        return ConfigFileResult::Unreadable;
    if (ReadExportMark(path) != readCurrentProduct())
        return ConfigFileResult::OtherProduct;
    return ImportConfig(store, path) ? ConfigFileResult::Done : ConfigFileResult::Unreadable;
}

} // namespace mc
