// How a write reaches the status poller without knowing who runs it: the owner of the poller
// (the main window, through StatusPoller) installs a control; the write stops the poller before
// its first report and restarts it afterwards. Without a control installed (command-line tool,
// tests) nothing is stopped or restarted.
#pragma once

namespace mc {

class PollerControl
{
public:
    virtual ~PollerControl() = default;
    // Returns only after the poller's loop has ended, so that the caller owns the handles.
    // Called on the apply worker thread.
    virtual void stopAndWait() = 0;
    // Starts a new poller; may be called on the apply worker thread, so an implementation hands
    // the start to the thread that owns the poller.
    virtual void restart() = 0;
};

// Not owned; nullptr removes the control.
void setPollerControl(PollerControl *control);
PollerControl *pollerControl();

} // namespace mc
