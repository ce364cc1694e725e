// How the profile library and the write reach the user: questions and notices in the
// program's message box and the file dialogs, as plain functions so that a test answers them
// without a modal box. A function left empty answers "no", shows nothing and chooses no file.
// User-interface thread only.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace mc {

struct UserPrompts
{
    // A question (message box kind 1) or notice (kind 2) under the title "Warning". ask returns
    // true when the user said yes; tell shows the box and ignores the answer.
    std::function<bool(int iKind, const QString &text)> ask;
    std::function<void(int iKind, const QString &text)> tell;
    // A file to write or to read, with the dialog's title and filter; empty when cancelled.
    std::function<QString(const QString &title, const QString &filter)> chooseSaveFile;
    std::function<QString(const QString &title, const QString &filter)> chooseOpenFile;

    bool askUser(int iKind, const QString &text) const { return ask && ask(iKind, text); }
    void tellUser(int iKind, const QString &text) const
    {
        if (tell)
            tell(iKind, text);
    }
    QString saveFile(const QString &title, const QString &filter) const
    {
        return chooseSaveFile ? chooseSaveFile(title, filter) : QString();
    }
    QString openFile(const QString &title, const QString &filter) const
    {
        return chooseOpenFile ? chooseOpenFile(title, filter) : QString();
    }
};

// The real ones: KivMessageBox and QFileDialog, centred on the parent.
UserPrompts windowPrompts(QWidget *parent);

} // namespace mc
