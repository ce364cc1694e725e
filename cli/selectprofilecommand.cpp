// "select-profile N": the window's slot pick from its menu. Tells the mouse to switch to slot
// N (1 to 5) and commits the settings, as the window does, and, once the mouse has taken it,
// records the slot as the active one in Config.ini. The exit status is the first failing
// result, or 0.
#include "cli/clicommand.h"
#include "device/commandset.h"
#include "device/writeresult.h"
#include "profile/profilestore.h"

namespace mc::cli {

namespace {

int runSelectProfile(const QStringList &args)
{
    bool ok = false;
    const int n = args.size() == 1 ? args.first().toInt(&ok) : 0;
    if (!ok || n < 1 || n > kSlotCount)
        return usageError(QStringLiteral("select-profile takes one profile number, 1 to 5"));
    if (openMouse() != 0) {
        printLine(openFailureText());
        return kNoDevice;
    }
    const int slot = n - 1;
    uint8_t result = SelectProfile(connection(), slot);
    const uint8_t committed = CommitSettings(connection());
    if (result == kOk)
        result = committed;
    if (result != kOk) {
        // The mouse did not take the slot: recording it would make Config.ini disagree with
        // the mouse.
        printLine(writeResultText(result));
        return result;
    }
    const SaveResult saved = SaveActiveSlot(slot);
    if (!saved) {
        // The mouse has switched; only the record of it failed. Saying "selected" would leave
        // the user believing Config.ini agrees.
        printError(saved.message());
        printLine(QStringLiteral("Profile %1 is active on the mouse, but the settings could not "
                                 "record it.")
                      .arg(n));
        return kSaveFailed;
    }
    printLine(QStringLiteral("Profile %1 selected.").arg(n));
    return result;
}

const CommandRegistration registration{
    {"select-profile", "N", "make profile N (1..5) the mouse's active one", &runSelectProfile}};

} // namespace

} // namespace mc::cli
