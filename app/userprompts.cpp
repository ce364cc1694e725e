// The program's message box and file dialogs behind UserPrompts.
#include "app/userprompts.h"

#include "widgets/kivmessagebox.h"

#include <QFileDialog>
#include <QPointer>

namespace mc {

UserPrompts windowPrompts(QWidget *parent)
{
    // The window may go before a prompt object that still holds the functions.
    const QPointer<QWidget> owner(parent);
    UserPrompts p;
    p.ask = [owner](int iKind, const QString &text) {
        return KivMessageBox::ask(iKind, QObject::tr("Warning"), text, owner.data());
    };
    p.tell = [owner](int iKind, const QString &text) {
        KivMessageBox::ask(iKind, QObject::tr("Warning"), text, owner.data());
    };
    p.chooseSaveFile = [owner](const QString &title, const QString &filter) {
        return QFileDialog::getSaveFileName(owner.data(), title, QString(), filter);
    };
    p.chooseOpenFile = [owner](const QString &title, const QString &filter) {
        return QFileDialog::getOpenFileName(owner.data(), title, QString(), filter);
    };
    return p;
}

} // namespace mc
