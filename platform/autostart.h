// Starting with the desktop (off by default): an entry that the desktop runs at log-in, which
// starts the program hidden (in the tray), so that the profile per application and the
// announcements work from the start of the session.
// Linux: an XDG autostart entry, $XDG_CONFIG_HOME/autostart/org.mousecfg.Mousecfg.desktop
// (~/.config when unset), written atomically; Windows: the value "Mousecfg" under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run.
// User-interface thread (or any one thread at a time).
#pragma once

#include <QString>

namespace mc::autostart {

// The option the entry starts the program with: no window, only the tray icon.
constexpr char kStartHiddenOption[] = "--hidden";

// Where the entry lives (a file path on Linux, the registry key and value name on Windows).
QString entryLocation();

// True when the desktop will start the program: the entry exists and is not switched off
// (an XDG entry with Hidden=true, or X-GNOME-Autostart-enabled=false, counts as off).
bool isEnabled();

// Writes the entry for the executable (started with kStartHiddenOption), or removes it. False
// with *error naming the file and the reason when that failed; the state is then unchanged.
bool setEnabled(bool enable, const QString &executable, QString *error);

// The Exec value of an XDG entry for the program and its arguments: each quoted as the
// freedesktop.org desktop entry format asks, '%' doubled. Empty for an argument that cannot
// be written (a line break or another control character).
QString desktopExecLine(const QStringList &program);

} // namespace mc::autostart
