// "export-config FILE": the window's "Save Config File". Writes the data folder's settings (the
// store-wide options, the five slot names and records) with the current product's export mark
// into FILE, for import-config or the window's "Load Config File" on this or another computer.
#include "cli/clicommand.h"
#include "device/writeresult.h"
#include "profile/configfile.h"
#include "profile/profilestore.h"

#include <QDir>

namespace mc::cli {

namespace {

int runExportConfig(const QStringList &args)
{
    if (args.size() != 1 || args.first().isEmpty())
        return usageError(QStringLiteral("export-config takes one file name"));
    const QString file = QDir::toNativeSeparators(args.first());
    ProfileStore store;
    if (const int refused = loadDataFolderStore(store))
        return refused;
    SaveResult saved;
    if (SaveConfigFile(store, args.first(), &saved) != ConfigFileResult::Done) {
        printError(saved.message());
        return kSaveFailed;
    }
    printLine(QStringLiteral("Configuration exported to %1.").arg(file));
    return 0;
}

const CommandRegistration registration{{"export-config", "FILE",
                                        "save the settings of the data folder to a .conf file",
                                        &runExportConfig}};

} // namespace

} // namespace mc::cli
