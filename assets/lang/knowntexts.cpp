// Texts that the program shows from panels and dialogs whose code is still being written.
// Never compiled: the translation update reads this file as well as the sources, so that the
// English translation carries their renderings before the panels land. A text can be taken
// out of here once the code that shows it exists.
#include <QtGlobal>

static const char *const kKnownTexts[] = {
    // Lighting effects and panel captions.
    QT_TRANSLATE_NOOP("QObject", "FULL LIGHTED"),
    QT_TRANSLATE_NOOP("QObject", "BREATHING"),
    QT_TRANSLATE_NOOP("QObject", "RAINBOW"),
    QT_TRANSLATE_NOOP("QObject", "REACTIVE"),
    QT_TRANSLATE_NOOP("QObject", "Raindrop"),
    QT_TRANSLATE_NOOP("QObject", "Horizontal WAVE"),
    QT_TRANSLATE_NOOP("QObject", "Horizontal GO WITHOUT TRACE"),
    QT_TRANSLATE_NOOP("QObject", " MINUTE"),
    QT_TRANSLATE_NOOP("QObject", "Color Edit"),
    // Button functions.
    QT_TRANSLATE_NOOP("QObject", "LED SWITCH"),
    QT_TRANSLATE_NOOP("QObject", "Led Switch"),
    QT_TRANSLATE_NOOP("QObject", "Profile +"),
    QT_TRANSLATE_NOOP("QObject", "Profile -"),
    QT_TRANSLATE_NOOP("QObject", "Profile Menu"),
    QT_TRANSLATE_NOOP("QObject", "Profile Switch"),
    QT_TRANSLATE_NOOP("QObject", "Boss Key"),
    // Report rate and sensor options.
    QT_TRANSLATE_NOOP("QObject", "Enable sync"),
    QT_TRANSLATE_NOOP("QObject", "1 mm"),
    QT_TRANSLATE_NOOP("QObject", "2 mm"),
    QT_TRANSLATE_NOOP("QObject", "1mm"),
    QT_TRANSLATE_NOOP("QObject", "2mm"),
    // Macro editor and gun files.
    QT_TRANSLATE_NOOP("QObject", "Delay:"),
    QT_TRANSLATE_NOOP("QObject", "LOOPS TIME(1-255)"),
    QT_TRANSLATE_NOOP("QObject", "ACTION"),
    QT_TRANSLATE_NOOP("QObject", "DELAY"),
    QT_TRANSLATE_NOOP("QObject", "DELAY(ms)"),
    QT_TRANSLATE_NOOP("QObject", "DISTANCE"),
    QT_TRANSLATE_NOOP("QObject", "KEY"),
    QT_TRANSLATE_NOOP("QObject", "MOVEMENT"),
    QT_TRANSLATE_NOOP("QObject", "Press"),
    QT_TRANSLATE_NOOP("QObject", "Release"),
    // Status, library and write messages.
    QT_TRANSLATE_NOOP("QObject", "MOUSE OFF"),
    QT_TRANSLATE_NOOP("QObject", "Mouse is sleeping or not connected."),
    QT_TRANSLATE_NOOP("QObject", "Send data failed, please try again."),
    QT_TRANSLATE_NOOP("QObject", "Profile is Already Used!"),
    QT_TRANSLATE_NOOP("QObject", "The default Profile cannot be deleted or renamed."),
    QT_TRANSLATE_NOOP("QObject", "Profile Exist!"),
    QT_TRANSLATE_NOOP("QObject", "AT LEAST ONE PROFILE TO BE RETAINED."),
    QT_TRANSLATE_NOOP("QObject", "Are you sure you want delete this profile?"),
    QT_TRANSLATE_NOOP("QObject", "Are you sure you want reset this profile?"),
    QT_TRANSLATE_NOOP("QObject", "Are you sure you want reset all profiles?"),
    QT_TRANSLATE_NOOP("QObject", "The file is not match current mouse!"),
};
