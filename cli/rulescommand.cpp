// "rules": the profile per application as Config.ini holds it, one line per rule in the order
// they are tried, then the slot of every other application and whether the window switches.
#include "cli/clicommand.h"
#include "profile/focusrules.h"

namespace mc::cli {

namespace {

int runRules(const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(QStringLiteral("rules takes no arguments"));
    const FocusRules rules = readFocusRules();
    printLine(QStringLiteral("Switching with the application in front: %1")
                  .arg(rules.enabled ? QStringLiteral("on") : QStringLiteral("off")));
    for (int n = 0; n < rules.rules.size(); ++n) {
        const FocusRule &r = rules.rules.at(n);
        printLine(
            QStringLiteral("%1. %2: profile %3").arg(n + 1).arg(r.application).arg(r.slot + 1));
    }
    printLine(QStringLiteral("Every other application: profile %1").arg(rules.defaultSlot + 1));
    return 0;
}

const CommandRegistration registration{
    {"rules", "", "list the profile per application (Config.ini [FocusRules])", &runRules}};

} // namespace

} // namespace mc::cli
