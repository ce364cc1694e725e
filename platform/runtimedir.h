// The user's own folder for the program's lock files and local sockets. Files in a folder every
// user can write (the temporary folder) can be put there first by another user: an empty file
// under the lock's name would stop the program, a socket under the display's name would receive
// its messages. So they live in $XDG_RUNTIME_DIR/mousecfg, or, where there is no runtime folder,
// in <temporary folder>/mousecfg-<user ID>, created for this user alone (mode 0700). A folder
// that is there but belongs to someone else, is a link, or can be written by others is refused,
// never used. Windows keeps its named mutex and pipe, which are per session already.
// Any thread.
#pragma once

#include <QString>

namespace mc {

// The folder, created when missing; empty, with the reason in error, when it cannot be used.
QString userRuntimeDir(QString *error = nullptr);

} // namespace mc
