// "import-config FILE": the window's "Load Config File" without the write to the mouse. A
// configuration exported for the current product replaces the settings of the data folder;
// "apply" then sends them. The product check and its message are the window's: a file of
// another product, or one that cannot be read, changes nothing.
#include "cli/clicommand.h"
#include "device/writeresult.h"
#include "profile/configfile.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QDir>

namespace mc::cli {

namespace {

int runImportConfig(const QStringList &args)
{
    if (args.size() != 1 || args.first().isEmpty())
        return usageError(QStringLiteral("import-config takes one file name"));
    const QString file = QDir::toNativeSeparators(args.first());
    ProfileStore store;
    if (const int refused = loadDataFolderStore(store))
        return refused;
    switch (LoadConfigFile(store, args.first())) {
    case ConfigFileResult::Done:
        break;
    case ConfigFileResult::OtherProduct:
        printLine(QStringLiteral("The file is not match current mouse!"));
        return kExitFileRefused;
    default:
        printError(QStringLiteral("%1 could not be read (missing, too large, a folder or not "
                                  "readable).")
                       .arg(file));
        return kExitFileRefused;
    }
    // The mouse still holds the settings from before: the window's next write must send
    // everything, not only what differs from the files. Marked first: a mark left behind by a
    // save that then fails costs one full write, a save without the mark a mouse that keeps
    // settings the files no longer hold.
    SaveResult saved = writeDiff(1);
    if (saved)
        saved = SaveStore(store);
    if (!saved) {
        printError(saved.message());
        printLine(writeResultText(kSaveFailed));
        return kSaveFailed;
    }
    printLine(QStringLiteral("Configuration imported from %1; \"apply\" writes it to the mouse.")
                  .arg(file));
    return 0;
}

const CommandRegistration registration{{"import-config", "FILE",
                                        "replace the settings of the data folder by a .conf file",
                                        &runImportConfig}};

} // namespace

} // namespace mc::cli
