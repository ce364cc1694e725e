// The "GUN SET" flow: the list check, the dialog and the creation of the macro.
#include "macro/gun/gunset.h"

#include "macro/gun/kivgunsetdialog.h"
#include "macro/macrodb.h"
#include "macro/macrolist.h"
#include "widgets/kivmessagebox.h"

namespace mc {

namespace {

// A gun file plays its delays as recorded, once.
MacroSettings gunSettings()
{
    MacroSettings s;
    s.defaultDelay = 10;
    s.delayType = 1;
    s.loopType = 0;
    s.loopTime = 1;
    return s;
}

void tell(MacroOutcome outcome, QWidget *parent)
{
    KivMessageBox::ask(KivMessageBox::Notice, macroOutcomeTitle(outcome), macroOutcomeText(outcome),
                       parent);
}

} // namespace

QString runGunSet(QWidget *parent)
{
    // Refused before anything is asked: with all fifty slots taken the file could not be listed.
    if (freeMacroSlot() < 0) {
        tell(MacroOutcome::TooMany, parent);
        return {};
    }
    KivGunsetDialog dialog(macro::delayUnit(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const MacroResult r = createMacro(dialog.name(), Macro{gunSettings(), dialog.steps()});
    if (r.outcome != MacroOutcome::Done) {
        tell(r.outcome, parent);
        return {};
    }
    return r.name;
}

} // namespace mc
