// The system's sources of the application in front on Linux, one per desktop; each returns
// nullptr with the reason where it cannot run. Chosen in createSystemFocusWatcher.
#pragma once

#include "platform/focuswatcher.h"

namespace mc {

// X11 (and only X11 clients on XWayland): _NET_ACTIVE_WINDOW.
std::unique_ptr<FocusWatcher> createX11FocusWatcher(QString *reason);
// wlroots compositors (sway, Hyprland, labwc, ...): zwlr_foreign_toplevel_manager_v1.
std::unique_ptr<FocusWatcher> createWlrFocusWatcher(QString *reason);
// KDE Plasma: a KWin script that calls us over the session bus.
std::unique_ptr<FocusWatcher> createKWinFocusWatcher(QString *reason);

// The file name of a process's executable (its command name where the link cannot be read);
// empty for pid 0 or a process that is gone.
QString executableOfProcess(qint64 pid);

} // namespace mc
