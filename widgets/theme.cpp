// Theme colour, shared font, colour mode, menu style and the skin image cache.
#include "widgets/theme.h"
#include "widgets/log.h"

#include "profile/paths.h"
#include "profile/settings.h"
#include "widgets/skintint.h"
#include "widgets/themecolours.h"
#include "widgets/uiscale.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QSet>
#include <QStyleOption>
#include <QThreadPool>
#include <QWidget>

#include <condition_variable>
#include <future>
#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace mc {

namespace {

// Identifies one state of a file: a rewrite changes its time or its size.
struct FileStamp
{
    QString path;
    qint64 msecs = -1;
    qint64 size = -1;
    bool operator==(const FileStamp &o) const
    {
        return path == o.path && msecs == o.msecs && size == o.size;
    }
};

FileStamp stampOf(const QString &path)
{
#ifdef Q_OS_UNIX
    // Asked hundreds of times before the first frame (the theme's settings file among them):
    // QFileInfo's modification time goes through the time-zone rules, a stat does not.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {path};
    return {path, qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000,
            qint64(st.st_size)};
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {path};
    return {path, info.lastModified().toMSecsSinceEpoch(), info.size()};
#endif
}

struct AppValues
{
    FileStamp stamp;
    int language = -1;
    bool valid = false;
    QColor theme;
    FontRule font;
};

struct DescValues
{
    FileStamp stamp;
    bool valid = false;
    int colorMode = 0;
};

AppValues &appValues()
{
    static AppValues v;
    const FileStamp now = stampOf(appSettingsFile());
    if (!v.valid || !(v.stamp == now) || v.language != uiLanguage()) {
        const ThemeRgb rgb = themeRgbAt(readThemeColourIndex());
        v.theme = QColor(rgb.r, rgb.g, rgb.b);
        v.font = readFontRule(uiLanguage());
        v.stamp = now;
        v.language = uiLanguage();
        v.valid = true;
    }
    return v;
}

DescValues &descValues()
{
    static DescValues v;
    const FileStamp now = stampOf(productDescriptionFile());
    if (!v.valid || !(v.stamp == now)) {
        v.colorMode = readColorMode();
        v.stamp = now;
        v.valid = true;
    }
    return v;
}

} // namespace

QColor themeColour()
{
    return appValues().theme;
}
QString fontFamily()
{
    return appValues().font.family;
}
int fontBaseSize()
{
    // A size from the file is bounded so that a stray value cannot ask for a glyph cache of
    // gigantic letters.
    const int size = appValues().font.pixelSize;
    return (size < 0 || size > 256) ? 0 : size;
}
int colorMode()
{
    return descValues().colorMode;
}

void resetThemeCache()
{
    appValues().valid = false;
    descValues().valid = false;
}

QFont sharedFont(int pixelDelta)
{
    QFont f;
    const QString family = fontFamily();
    if (!family.isEmpty())
        f.setFamily(family);
    const int base = fontBaseSize();
    if (base > 0) {
        const int px = scaled(base + pixelDelta);
        if (px > 0)
            f.setPixelSize(px);
    }
    return f;
}

void applySharedFont(QWidget *widget)
{
    if (widget)
        widget->setFont(sharedFont());
}

const char kMenuStyle[] =
    "QMenu{background-color:rgb(50,50,50);border: 0px solid rgb(255,255,255);}"
    "QMenu::item{text-align: center;color: rgb(255,255,255);border: 0px solid rgb(255,255,255);"
    "background-color:rgb(50,50,50);margin:0px 0px;padding:0px 20px;}"
    "QMenu::item:selected{border: 0px solid rgb(255,255,255);"
    "background-color:rgb(145,145,145);}"
    "QMenu::item:pressed{border: 0px solid rgb(255,255,255);"
    "background-color:rgb(200,200,200);}";

namespace {

void applyMenuStyle(QMenu *menu)
{
    // A style sheet set again, even the same one, restyles the menu and all it holds: menus
    // rebuilt at start-up paid for that every time.
    if (menu->styleSheet() != QLatin1String(kMenuStyle))
        menu->setStyleSheet(QLatin1String(kMenuStyle));
    menu->setFont(sharedFont());
}

} // namespace

void styleMenu(QMenu *menu)
{
    if (!menu)
        return;
    // Restyling a menu restyles all it holds: a hidden one takes its style as it is about to
    // show (before it measures its items), so the window's many menus cost nothing before its
    // first frame. The font is taken again at every showing, so a language chosen since counts.
    static const char kStyledOnShow[] = "mcStyledOnShow";
    if (!menu->property(kStyledOnShow).toBool()) {
        menu->setProperty(kStyledOnShow, true);
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { applyMenuStyle(menu); });
    }
    if (menu->isVisible())
        applyMenuStyle(menu);
}

namespace {

// Key of the PNG text entry in which the skin generator records a stretched image's design
// size ("WxH"). Such images are drawn larger than they are used, so that they stay sharp at a
// large scale factor; held whole, the skin would take several times the memory the window
// shows.
const char kDesignSizeKey[] = "DesignSize";

// The size an image with the given design-size entry is held at for a scale factor; invalid
// when the entry is absent or not a sane size (the image is then used as the file has it).
QSize heldSize(const QString &entry, double factor)
{
    const QStringList parts = entry.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return QSize();
    bool okW = false, okH = false;
    const int w = parts.at(0).toInt(&okW);
    const int h = parts.at(1).toInt(&okH);
    if (!okW || !okH || w <= 0 || h <= 0 || w > 8192 || h > 8192)
        return QSize();
    // Truncated like every scaled geometry of the window, so the image fills its rectangle
    // pixel for pixel.
    return QSize(qMax(1, int(w * factor)), qMax(1, int(h * factor)));
}

// A large picture may come as two files, Qt's way: "X.png" at its design size and "X@2x.png"
// drawn twice as large. Above the design scale the large one keeps it sharp; at it the small
// one spares decoding and shrinking four times the pixels (for a product picture, most of the
// image worker's start-up).
QString sourceForFactor(const QString &path, double factor)
{
    if (factor <= 1.0 + 1e-6)
        return path;
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= path.lastIndexOf(QLatin1Char('/')))
        return path;
    const QString large = path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
    return QFileInfo::exists(large) ? large : path;
}

// Reads a skin image at the size the scale factor needs, tinted to the theme colour. Safe on
// any thread.
QImage readSkinImage(const QString &path, const QColor &tint, double factor)
{
    const QString source = sourceForFactor(path, factor);
    // The skin's images are PNGs. Told so, with detection off, the reader goes straight to Qt's
    // own decoder: detecting would first load every image-format plugin there is (and Qt Svg
    // with them) to ask each whether it reads "png", over a millisecond for the first image.
    // (Without detection a file that cannot be opened is not refused first: libpng would be
    // handed a closed device and complain.)
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&file, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    QSize want = heldSize(reader.text(QLatin1String(kDesignSizeKey)), factor);
    // A large file that does not say its design size is twice it, by its name.
    if (!want.isValid() && source != path)
        want = heldSize(
            QStringLiteral("%1x%2").arg(reader.size().width() / 2).arg(reader.size().height() / 2),
            factor);
    QImage img = reader.read();
    if (img.isNull()) {
        // A picture put in the skin by hand may be another format under a ".png" name.
        file.seek(0);
        QImageReader any(&file);
        img = any.read();
    }
    if (img.isNull())
        return img;
    // Qt takes an "@2x" name for a picture to be drawn at half its pixels; this program sizes
    // every image to its own scale factor itself.
    img.setDevicePixelRatio(1.0);
    if (want.isValid() && want != img.size())
        img = img.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Left in the format the decoder gave (premultiplied only when scaled or tinted): making a
    // pixmap premultiplies anyway, and the background's runs premultiply only their colours,
    // where converting its whole picture first took a millisecond of the start-up worker.
    if (tint.rgb() != skinAccent().rgb())
        img = tintAccent(img, tint);
    return img;
}

// The worker hands each image over as soon as it is read, so the window waits only for the
// image it asks for, not for the whole list.
struct Preload
{
    QStringList paths; // what the worker reads; other paths never wait for it
    QRgb tint = 0;     // the accent colour the worker recoloured them to
    double factor = 0; // the scale factor the worker sized them for
    std::future<void> pending;
    std::mutex lock;
    std::condition_variable arrived;
    QHash<QString, QImage> ready; // under lock
    QSet<QString> done;           // under lock: read, or found unreadable
};

Preload &preload()
{
    static Preload p;
    return p;
}

// The decoded image of a preloaded path (taken out of the store), or a null image; also null
// when the theme colour or the scale factor changed since the worker read it.
QImage takePreloaded(const QString &path, const QColor &tint, double factor)
{
    Preload &p = preload();
    if (!p.paths.contains(path))
        return QImage();
    p.paths.removeOne(path);
    QImage img;
    {
        std::unique_lock<std::mutex> guard(p.lock);
        p.arrived.wait(guard, [&p, &path] { return p.done.contains(path); });
        img = p.ready.take(path);
    }
    return p.tint == tint.rgb() && qFuzzyCompare(p.factor, factor) ? img : QImage();
}

} // namespace

void preloadSkinImages(const QStringList &paths, std::function<void()> thenRun, double factor)
{
    Preload &p = preload();
    if (p.pending.valid())
        return;
    p.paths = paths;
    // Read here rather than on the worker: the settings cache belongs to this thread.
    const QColor tint = themeColour();
    p.tint = tint.rgb();
    p.factor = factor;
    p.pending = std::async(std::launch::async, [paths, tint, factor, thenRun, &p] {
        for (const QString &path : paths) {
            const QImage img = readSkinImage(path, tint, factor);
            {
                std::lock_guard<std::mutex> guard(p.lock);
                if (!img.isNull())
                    p.ready.insert(path, img);
                p.done.insert(path);
            }
            p.arrived.notify_all();
        }
        if (thenRun)
            thenRun();
    });
}

void finishSkinPreload()
{
    Preload &p = preload();
    if (p.pending.valid())
        p.pending.get();
    {
        std::lock_guard<std::mutex> guard(p.lock);
        p.ready.clear();
        p.done.clear();
    }
    p.paths.clear();
    // Qt converts and scales large images on its shared pool's threads, which would idle on
    // for half a minute with their stacks and heaps; nothing else here uses the pool.
    QThreadPool::globalInstance()->waitForDone(100);
#ifdef __GLIBC__
    // The worker's reading buffers are freed by now; hand their pages back to the system.
    malloc_trim(0);
#endif
}

QString skinPath(const QString &name)
{
    return skinDir() + QLatin1Char('/') + name;
}

QPixmap skinPixmap(const QString &path)
{
    // Keyed by path, file state, theme colour and scale factor: forty hotspots share two
    // images, and a regenerated skin, another theme colour or another scale is picked up on the
    // next build of a widget. Only the pixmap for the scale in use is kept.
    struct Entry
    {
        FileStamp stamp;
        QRgb tint;
        double factor;
        QPixmap pixmap;
    };
    static QHash<QString, Entry> cache;
    const FileStamp now = stampOf(path);
    const QColor tint = themeColour();
    const double factor = scaleFactor();
    auto it = cache.find(path);
    if (it != cache.end() && it->stamp == now && it->tint == tint.rgb() &&
        qFuzzyCompare(it->factor, factor))
        return it->pixmap;
    QPixmap pm;
    if (now.size > 0) {
        QImage img = takePreloaded(path, tint, factor);
        if (img.isNull())
            img = readSkinImage(path, tint, factor);
        pm = QPixmap::fromImage(std::move(img));
    }
    cache.insert(path, Entry{now, tint.rgb(), factor, pm});
    return pm;
}

namespace {

class ProgramStyle final : public QProxyStyle
{
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element == PE_FrameFocusRect)
            return;
        if (element == PE_IndicatorCheckBox && widget &&
            widget->property(kSkinIndicator).toBool()) {
            const QPixmap box = skinPixmap(skinPath(option->state.testFlag(State_On)
                                                        ? QStringLiteral("checkbox1-2.png")
                                                        : QStringLiteral("checkbox1-1.png")));
            if (!box.isNull()) {
                painter->save();
                painter->setRenderHint(QPainter::SmoothPixmapTransform);
                painter->drawPixmap(option->rect, box);
                painter->restore();
                return;
            }
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    static constexpr char kSkinIndicator[] = "mcSkinIndicator";
};

} // namespace

void useSkinIndicator(QWidget *checkBox)
{
    checkBox->setProperty(ProgramStyle::kSkinIndicator, true);
}

void useProgramStyle()
{
    if (!dynamic_cast<ProgramStyle *>(QApplication::style()))
        QApplication::setStyle(new ProgramStyle);
}

void setStyleOnce(QWidget *widget, const QString &style)
{
    if (widget->styleSheet() != style)
        widget->setStyleSheet(style);
}

QString themedLineEditStyle()
{
    return QStringLiteral("QLineEdit{background-color:rgb(30,30,30);color:white;"
                          "border:1px solid %1}")
        .arg(themeColour().name());
}

QImage skinImage(const QString &path)
{
    const QColor tint = themeColour();
    const double factor = scaleFactor();
    QImage img = takePreloaded(path, tint, factor);
    return img.isNull() ? readSkinImage(path, tint, factor) : img;
}

void paintDialogBackground(QWidget *dialog, const QString &image)
{
    QPainter p(dialog);
    const QRect r = dialog->rect();
    const QPixmap bg = skinPixmap(skinPath(image));
    if (!bg.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(r, bg);
    } else {
        p.fillRect(r, QColor(30, 30, 30));
    }
    QPen pen(themeColour());
    pen.setWidth(2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
}

} // namespace mc
