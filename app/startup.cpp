// Start-up in the order the program depends on: application object, data folder and backend
// options, product name, single-instance lock, main window, event loop.
#include "app/startup.h"
#include "app/log.h"

#include "app/mousecfgwidget.h"
#include "emulator/backendselect.h"
#include "platform/autostart.h"
#include "platform/singleinstance.h"
#include "profile/paths.h"
#include "profile/profilekeys.h"
#include "profile/settings.h"
#include "widgets/kivmessagebox.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLoggingCategory>
#include <QScreen>
#include <QThread>

#include <future>

#include <cstdio>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#ifdef MC_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace mc {

namespace {

// The images the first paint needs, decoded on a worker while the window is built, in the
// order the window asks for them (the product picture while the panels are built, the
// background last), so it waits at most for the one it asks for.
void preloadFirstPaintImages()
{
    const QString product = readCurrentProduct();
    QStringList early;
    early << skinDir() + QStringLiteral("/mouse/") + product + QStringLiteral("/Mouse.png");
    for (const char *name :
         {"mouselogo.png", "dongle.png", "lightning.png", "tabbutton2-1.png", "tabbutton2-3.png",
          "tabbutton-1.png", "lang.png", "min-1.png", "close-1.png", "Reset1.png", "Import1.png",
          "Export1.png", "cfgMainback.png", "bat1.png", "bat2.png"})
        early << skinPath(QLatin1String(name));
    // Sized for the scale the window will take from the screen, as the window reads it.
    QScreen *screen = QGuiApplication::primaryScreen();
    preloadSkinImages(early, {}, scaleForDpi(screen ? screen->logicalDotsPerInch() : 96.0).factor);
}

#ifdef MC_HAVE_FONTCONFIG
// Fontconfig's configuration and font list, made the process's own before Qt asks for them,
// without Type 1 fonts (GTK's text layer has left them out since 2019). A family shipped both
// ways, as Nimbus Sans is (what Arial resolves to), otherwise reaches Qt as its Type 1 file:
// FreeType then holds a decoded copy of each face, about 100 kB a weight, and reads its glyphs
// more slowly than the OpenType twin's. Should the configuration not load, fontconfig starts
// as usual.
void loadFontConfig()
{
    static const char kNoType1[] =
        "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">"
        "<fontconfig><selectfont><rejectfont><pattern><patelt name=\"fontformat\">"
        "<string>Type 1</string></patelt></pattern></rejectfont></selectfont></fontconfig>";
    FcConfig *config = FcInitLoadConfig();
    if (!config ||
        !FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8 *>(kNoType1),
                                        FcFalse) ||
        !FcConfigBuildFonts(config) || !FcConfigSetCurrent(config)) {
        if (config)
            FcConfigDestroy(config);
        FcInit();
    }
    // The configuration made current is never destroyed here: fontconfig before 2.13 takes
    // no reference of its own to it.
}
#endif

} // namespace

int runMousecfg(int argc, char **argv)
{
    // The window is drawn by Qt's raster engine and never through OpenGL. Unless told, Qt's X11
    // platform loads the OpenGL driver when the first window is made: most of a bare window's
    // start on a desktop with GL, and megabytes of memory, for nothing. A value the user set is
    // kept. The programs started from here inherit it: the on-screen display, drawn the same way,
    // and the firmware updater, a Windows program. Set before any thread starts: the environment is
    // not safe to change while another thread reads it.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
#ifdef __GLIBC__
    // Image-sized buffers (skin images read whole before they are scaled to the window's
    // scale) are mapped on their own and given back when freed. By default the allocator
    // raises this bound after the first such buffer is freed, and the next ones then stay in
    // the heap as megabytes of free but resident memory for the program's whole life.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    // The profile key table (thousands of names, needed by the first store load) is built
    // while the application object connects to the display, which is mostly waiting. Plain
    // data only: nothing that needs the application object may run on this worker.
    QThread::currentThread(); // the thread that runs main is the one Qt takes as its main thread
    std::future<void> keyTable = std::async(std::launch::async, [] { profilekeys::keyTable(); });
    // Fontconfig reads its configuration and the list of every font on the system the first
    // time a text is measured, a large share of the start-up, and needs nothing of Qt's: it
    // starts now, while the application object connects to the display.
    std::future<void> fontConfig;
#ifdef MC_HAVE_FONTCONFIG
    fontConfig = std::async(std::launch::async, loadFontConfig);
#endif

    // All scaling of the interface comes from the program's own scale factor; with Qt's
    // scaling on as well everything would be scaled twice. (Qt only honours this before the
    // application object exists.)
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_DisableHighDpiScaling);
#else
    // Qt 6 has no attribute for it; its environment switch still holds.
    if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
#endif
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.mousecfg.Mousecfg")); // app_id
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps); // always on in Qt 6
#endif
    // The program lives on in the tray when its window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    // Every way out of here, early returns included, waits for the image worker before the
    // application object goes: the worker decodes through Qt's image plugins, which are
    // unloaded with it.
    struct PreloadJoin
    {
        ~PreloadJoin() { finishSkinPreload(); }
    } preloadJoin;

    QString error;
    QStringList args = applyDataDirOption(app.arguments(), &error);
    if (error.isEmpty())
        args = installBackendFromArgs(args, &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "mousecfg: %s", qPrintable(error));
        return 64;
    }
    // Each layer's debug messages are off unless asked for (QT_LOGGING_RULES works as well).
    if (args.removeAll(QStringLiteral("--verbose")) > 0)
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
    // The desktop starts us so at log-in: into the tray, not in front of the user.
    const bool startHidden = args.removeAll(QLatin1String(autostart::kStartHiddenOption)) > 0;
    seedDataFolder();

    const QString productName = readProductName();
    const QString mutexName = instanceMutexName(productName);
    SingleInstance instance(mutexName);
    if (!instance.tryAcquire()) {
        if (!instance.errorString().isEmpty()) {
            std::fprintf(stderr, "mousecfg: %s\n", qPrintable(instance.errorString()));
            // Started from a menu or the desktop, nobody reads standard error: without a word
            // the program would seem not to start at all.
            if (fontConfig.valid())
                fontConfig.wait();
            QScreen *screen = QGuiApplication::primaryScreen();
            setScaleFactor(scaleForDpi(screen ? screen->logicalDotsPerInch() : 96.0).factor);
            KivMessageBox::ask(KivMessageBox::Notice, QObject::tr("Warning"),
                               instance.errorString() + QLatin1Char(' ') +
                                   QObject::tr("So that two copies never write to the mouse at "
                                               "once, the program does not start."));
            return 1;
        }
        // The running instance may sit hidden in the tray or behind other windows: the user
        // started the program to see it (a start at log-in leaves it where it is).
        if (!startHidden && !SingleInstance::askHolderToShow(mutexName))
            qCDebug(lcApp, "the running instance did not take the show request");
        return 1;
    }
    // Only the instance that stays decodes images; a second start has nothing to paint.
    preloadFirstPaintImages();
    // Qt's font list is built on a worker while the window is built; the first label that
    // needs it waits for it under Qt's own lock rather than building it again. Fontconfig is
    // ready by then: two threads starting it at once would both do the whole work. The future
    // waits in its destructor, before the application object goes, on every way out.
    if (fontConfig.valid())
        fontConfig.wait();
    std::future<void> fonts = std::async(std::launch::async, [] { QFontDatabase().families(); });

    int rc = 0;
    {
        MousecfgWidget window;
        // Before the window is mapped, so the desktop never sees another title.
        window.setWindowTitle(productName);
        if (startHidden) {
            window.startInTray();
        } else if (window.miceAtStart() > 0) {
            window.setWindowOpacity(1.0);
            window.show();
        }
        // Queued: the request arrives inside the socket's handler, and the show request may run
        // a modal box.
        QObject::connect(
            &instance, &SingleInstance::showRequested, &window,
            [&window] {
                qCDebug(lcApp, "show request from a second start");
                window.bringToFront();
            },
            Qt::QueuedConnection);
        rc = app.exec();
    }
    return rc;
}

} // namespace mc
