// The macro editor's real message box, file dialogs and gun dialog.
#include "macro/ui/macroprompts.h"

#include "macro/gun/gunset.h"
#include "widgets/kivmessagebox.h"

#include <QFileDialog>
#include <QPointer>

namespace mc {

MacroPrompts macroDialogPrompts(QWidget *parent)
{
    // The editor may go before a prompt of a queued call runs; the dialogs then have no parent.
    QPointer<QWidget> owner(parent);
    MacroPrompts p;
    p.tell = [owner](const QString &title, const QString &text) {
        KivMessageBox::ask(KivMessageBox::Notice, title, text, owner.data());
    };
    p.openFile = [owner](const QString &title, const QString &filter) {
        return QFileDialog::getOpenFileName(owner.data(), title, QString(), filter);
    };
    p.openFiles = [owner](const QString &title, const QString &filter) {
        return QFileDialog::getOpenFileNames(owner.data(), title, QString(), filter);
    };
    p.saveFile = [owner](const QString &title, const QString &filter) {
        return QFileDialog::getSaveFileName(owner.data(), title, QString(), filter);
    };
    p.folder = [owner](const QString &title, const QString &start) {
        return QFileDialog::getExistingDirectory(owner.data(), title, start);
    };
    p.gunSet = [owner] { return runGunSet(owner.data()); };
    return p;
}

} // namespace mc
