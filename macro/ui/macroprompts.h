// How the macro editor reaches the user beyond its own controls: the program's message box and
// the file dialogs, and the "GUN SET" flow, as plain functions so that a test answers them
// without a modal box. A function left empty shows nothing and chooses nothing.
// User-interface thread only.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace mc {

struct MacroPrompts
{
    // A notice (message box kind 2) with its title.
    std::function<void(const QString &title, const QString &text)> tell;
    // File dialogs: one file or several to read, a file to write (the dialog has asked about
    // replacing it), a folder; empty when cancelled.
    std::function<QString(const QString &title, const QString &filter)> openFile;
    std::function<QStringList(const QString &title, const QString &filter)> openFiles;
    std::function<QString(const QString &title, const QString &filter)> saveFile;
    std::function<QString(const QString &title, const QString &start)> folder;
    // The "GUN SET" flow: the name of the macro it created, or empty.
    std::function<QString()> gunSet;
};

// The real ones: KivMessageBox, QFileDialog and the gun dialog, over the parent.
MacroPrompts macroDialogPrompts(QWidget *parent);

} // namespace mc
