// The look shared by every styled widget: theme colour, the font rule of the current language,
// the product's colour mode, the drop-down menu style and the skin images. Values that come
// from the settings files are read when a widget paints, through a cache that notices when a
// file changes, so painting forty buttons does not parse an INI file forty times.
// User-interface thread only.
#pragma once

#include <functional>

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

class QMenu;
class QWidget;

namespace mc {

QColor themeColour(); // entry Config/GColorID of the table, entry 0 when out of range

// Family and unscaled pixel size configured for the current language (0 when not set).
QString fontFamily();
int fontBaseSize();

// The shared font: configured family and int(size x factor) pixels, with pixelDelta added to
// the configured size before scaling. A size of 0 or less keeps the library's default size.
QFont sharedFont(int pixelDelta = 0);
void applySharedFont(QWidget *widget);

int colorMode(); // PROFILE/ColorMode of the product description

// Forgets the cached file values (tests that rewrite a file within one timestamp tick).
void resetThemeCache();

extern const char kMenuStyle[];
// The menu style sheet and the shared font, applied as the menu shows (at once if it is shown).
void styleMenu(QMenu *menu);

// Starts reading the given images on a worker thread, sized for the scale factor given, so that
// decoding overlaps with the start of the program; skinPixmap takes them from there (and waits
// for the worker only for these paths) when the factor in use is still that one. thenRun, if
// given, runs on the same worker afterwards. Call once, early, on the thread that will run the
// user interface; it may be called before the application object exists.
void preloadSkinImages(const QStringList &paths, std::function<void()> thenRun = {},
                       double factor = 1.0);
// Waits for the worker, forgets what nobody asked for and gives the memory of the reading back
// (once the first frame is drawn). The worker reads images through Qt's image plugins, so every
// way out of the program also calls this before the application object goes. Harmless when
// nothing was started.
void finishSkinPreload();

// The program's dialogs (message box, key and colour dialogs): the skin's dialog background, or a
// dark fill without it, framed in the theme colour. Call from the dialog's paintEvent. A dialog
// with a background of its own names its image in the skin folder.
void paintDialogBackground(QWidget *dialog, const QString &image = QStringLiteral("dlg.png"));

// The application style of the program's windows: the platform's, without focus frames (every
// control shows its state in its own images). Replacing a style sheet on the window, it spares
// Qt the polishing of every widget through the style sheet machinery. Harmless when repeated.
void useProgramStyle();
// Gives a check box of the program style the skin's box images ("checkbox1-1.png",
// "checkbox1-2.png" when checked) at the indicator size its style sheet sets. Drawn by the
// style rather than as style-sheet images: those load every image-format plugin Qt has.
void useSkinIndicator(QWidget *checkBox);

// Sets a style sheet unless the widget has it already: set again, even unchanged, a sheet is
// parsed anew and restyles the widget and all it holds.
void setStyleOnce(QWidget *widget, const QString &style);

// The style of the program's small text fields: dark, white text, framed in the theme colour.
QString themedLineEditStyle();

// skinDir() + "/" + name.
QString skinPath(const QString &name);
// The image at a full path, shared between widgets, with the skin's accent in the theme colour
// (skintint.h); a missing file gives a null pixmap. An image that records its design size is
// held at design size times the scale factor in use (smoothly scaled once, when read); any
// other image at the size of its file.
QPixmap skinPixmap(const QString &path);
// The same image read for one user and not shared (a null image when missing), in the format
// the decoder gave (straight ARGB for a PNG with alpha): for a large image its user keeps in a
// cheaper form of its own.
QImage skinImage(const QString &path);

} // namespace mc
