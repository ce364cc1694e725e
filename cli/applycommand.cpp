// "apply": the window's write with everything to send. Loads the store from the data folder,
// makes one status query as the status poller would (so that a sleeping mouse is known), then
// runs the same apply worker as the window with the write-everything flag, and prints the
// result text. The exit status is the result. A data folder with a settings file that cannot be
// read is refused before anything is opened, saved or sent.
#include "cli/clicommand.h"
#include "device/mouseconnection.h"
#include "device/processthread.h"
#include "device/statusquery.h"
#include "device/writeresult.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

namespace mc::cli {

namespace {

// What the window's battery display concludes from the poller's first query pass.
bool mouseOffAfterQuery()
{
    const StatusQueryResult q = queryStatusOnce(connection());
    return q.outcome == QueryOutcome::ReadError ||
           (q.outcome == QueryOutcome::Answer && q.answer.mouseOff());
}

int runApply(const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(QStringLiteral("apply takes no arguments"));
    // Without the description's buttons every button would go to the mouse as "off".
    QString why;
    if (!productDescriptionUsable(&why)) {
        printError(why);
        printLine(QStringLiteral("Nothing was sent to the mouse."));
        return kStoreUnreadable;
    }
    ProfileStore working;
    // Checked before the mouse is even opened: nothing of this data folder is written.
    if (const int refused = loadDataFolderStore(working))
        return refused;
    ProfileStore lastWritten = working;
    const bool present = openMouse() == 0;
    const bool mouseOff = present && mouseOffAfterQuery();

    KivProcessThread worker(connection(), working, lastWritten);
    worker.setWriteEverything(true);
    worker.setMouseOff(mouseOff);
    worker.start();
    worker.wait();

    const uint8_t result = worker.result();
    if (result == kOk) {
        printLine(QStringLiteral("Settings written to the mouse."));
    } else if (result == kNoDevice) {
        printLine(openFailureText());
    } else {
        // Why, on standard error (the file and the system's words of a failed save); the
        // result's own line stays the last of standard output.
        if (!worker.reason().isEmpty())
            printError(worker.reason());
        printLine(writeResultText(result));
    }
    return result;
}

const CommandRegistration registration{
    {"apply", "", "write every setting of the data folder to the mouse", &runApply}};

} // namespace

} // namespace mc::cli
