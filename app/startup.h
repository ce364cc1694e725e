// The program's start-up and shut-down around the main window: options, single instance,
// the window, the event loop.
#pragma once

namespace mc {

// Returns the event loop's exit code, 1 when another instance runs, 64 for a bad option.
int runMousecfg(int argc, char **argv);

} // namespace mc
