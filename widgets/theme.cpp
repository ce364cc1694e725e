// Theme colour, shared font, colour mode, menu style and the skin image cache.
#include "widgets/theme.h"

#include "profile/paths.h"
#include "profile/settings.h"
#include "widgets/skintint.h"
#include "widgets/themecolours.h"
#include "widgets/uiscale.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QMenu>
#include <QWidget>

#include <future>

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
    const QFileInfo info(path);
    FileStamp s;
    s.path = path;
    if (info.exists()) {
        s.msecs = info.lastModified().toMSecsSinceEpoch();
        s.size = info.size();
    }
    return s;
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

void styleMenu(QMenu *menu)
{
    if (!menu)
        return;
    menu->setStyleSheet(QLatin1String(kMenuStyle));
    menu->setFont(sharedFont());
}

namespace {

struct Preload
{
    QStringList paths; // what the worker decodes; other paths never wait for it
    QRgb tint = 0;     // the accent colour the worker recoloured them to
    std::future<QHash<QString, QImage>> pending;
    QHash<QString, QImage> ready;
};

Preload &preload()
{
    static Preload p;
    return p;
}

// The decoded image of a preloaded path (taken out of the store), or a null image; also null
// when the theme colour changed since the worker tinted it.
QImage takePreloaded(const QString &path, const QColor &tint)
{
    Preload &p = preload();
    if (!p.paths.contains(path))
        return QImage();
    if (p.pending.valid())
        p.ready = p.pending.get();
    const QImage img = p.ready.take(path);
    return p.tint == tint.rgb() ? img : QImage();
}

} // namespace

void preloadSkinImages(const QStringList &paths, std::function<void()> thenRun)
{
    Preload &p = preload();
    if (p.pending.valid())
        return;
    p.paths = paths;
    // Read here rather than on the worker: the settings cache belongs to this thread.
    const QColor tint = themeColour();
    p.tint = tint.rgb();
    p.pending = std::async(std::launch::async, [paths, tint, thenRun] {
        QHash<QString, QImage> images;
        for (const QString &path : paths) {
            QImage img(path);
            if (!img.isNull())
                images.insert(path, tintAccent(img, tint).convertToFormat(
                                        QImage::Format_ARGB32_Premultiplied));
        }
        if (thenRun)
            thenRun();
        return images;
    });
}

void finishSkinPreload()
{
    Preload &p = preload();
    if (p.pending.valid())
        p.pending.wait();
    p.pending = {};
    p.ready.clear();
    p.paths.clear();
}

QString skinPath(const QString &name)
{
    return appDir() + QStringLiteral("/skin/") + name;
}

QPixmap skinPixmap(const QString &path)
{
    // Keyed by path, file state and theme colour: forty hotspots share two images, and a
    // regenerated skin or another theme colour is picked up on the next build of a widget.
    struct Entry
    {
        FileStamp stamp;
        QRgb tint;
        QPixmap pixmap;
    };
    static QHash<QString, Entry> cache;
    const FileStamp now = stampOf(path);
    const QColor tint = themeColour();
    auto it = cache.find(path);
    if (it != cache.end() && it->stamp == now && it->tint == tint.rgb())
        return it->pixmap;
    QPixmap pm;
    if (now.size > 0) {
        const QImage early = takePreloaded(path, tint);
        if (!early.isNull())
            pm = QPixmap::fromImage(early);
        else if (tint.rgb() == skinAccent().rgb())
            pm.load(path);
        else
            pm = QPixmap::fromImage(tintAccent(QImage(path), tint));
    }
    cache.insert(path, Entry{now, tint.rgb(), pm});
    return pm;
}

} // namespace mc
