// How this desktop shows the on-screen display without taking the focus or a click:
// - a window of our own (X11, Windows): frameless, always on top, transparent for input;
// - a layer-shell overlay (wlroots compositors, KDE Plasma on Wayland): a surface of the
//   overlay layer anchored at the bottom, no keyboard interactivity, an empty input region;
//   Qt then has to run on Wayland itself, whatever the configuration program runs on;
// - a desktop notification (GNOME on Wayland, or any Wayland desktop without layer shell).
// Decided before the application object exists, since the layer-shell route chooses Qt's
// platform and its shell.
#pragma once

enum class OsdRoute
{
    Window,
    LayerShell,
    Notification
};

// Looks at the session and sets up Qt's platform for the route; call before QApplication.
OsdRoute prepareOsdRoute();
const char *osdRouteName(OsdRoute route);
