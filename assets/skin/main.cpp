// mc_skingen: draws every image of the skin folder with our own painting code, so that no
// picture comes from anywhere else. Runs without a display (offscreen platform).
//   mc_skingen --out DIR [--product-file FILE] [--config FILE]   the whole skin into DIR
//   mc_skingen --loading-gif FILE                                 the embedded animation only
//   mc_skingen --hicolor DIR --icon-name NAME                      the desktop icon, all sizes
//   --accent N (with either): accents in theme entry N rather than the one the program expects,
//   which is what the program's recolouring of the usual skin must look like
#include "skinpaint.h"

#include "widgets/themecolours.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStringList>

#include <cstdio>

namespace {

// The product names whose pictures the sample data folder needs: the product description's
// name and the mouse list's, whichever exist; "KIV M1" when neither does.
QStringList productNames(const QString &descFile, const QString &configFile)
{
    QStringList names;
    const auto add = [&names](const QString &name) {
        const QString n = name.trimmed();
        if (!n.isEmpty() && !n.contains(QLatin1Char('/')) && !n.contains(QLatin1Char('\\')) &&
            n != QLatin1String("..") && !names.contains(n))
            names << n;
    };
    if (!descFile.isEmpty() && QFileInfo::exists(descFile))
        add(QSettings(descFile, QSettings::IniFormat).value("PROFILE/ProductName").toString());
    if (!configFile.isEmpty() && QFileInfo::exists(configFile)) {
        QSettings s(configFile, QSettings::IniFormat);
        add(s.value("Mouse_List/0").toString());
        add(s.value("Config/CurrentProductName").toString());
    }
    if (names.isEmpty())
        names << QStringLiteral("KIV M1");
    return names;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&args](const char *name) {
        const int i = args.indexOf(QLatin1String(name));
        return (i >= 0 && i + 1 < args.size()) ? args.at(i + 1) : QString();
    };

    const QString accent = option("--accent");
    if (!accent.isEmpty()) {
        bool ok = false;
        const int entry = accent.toInt(&ok);
        if (!ok || entry < 0 || entry >= int(mc::kThemeColours.size())) {
            std::fprintf(stderr, "mc_skingen: --accent takes a theme entry 0 to %d\n",
                         int(mc::kThemeColours.size()) - 1);
            return 64;
        }
        mc::skin::setAccentEntry(entry);
    }

    const QString gif = option("--loading-gif");
    if (!gif.isEmpty()) {
        QDir().mkpath(QFileInfo(gif).absolutePath());
        if (!mc::skin::writeLoadingGif(gif)) {
            std::fprintf(stderr, "mc_skingen: cannot write %s\n", qPrintable(gif));
            return 1;
        }
        return 0;
    }

    const QString hicolor = option("--hicolor");
    if (!hicolor.isEmpty()) {
        const QString name = option("--icon-name");
        if (name.isEmpty() || name.contains(QLatin1Char('/')))
            return 64;
        const int n = mc::skin::writeDesktopIcons(hicolor, name);
        std::printf("mc_skingen: %d icons in %s\n", n, qPrintable(hicolor));
        return n > 0 && mc::skin::imageWriteFailures() == 0 ? 0 : 1;
    }

    const QString out = option("--out");
    if (out.isEmpty()) {
        std::fprintf(stderr, "usage: mc_skingen --out DIR [--product-file FILE] "
                             "[--config FILE] | --loading-gif FILE [--accent N] | --hicolor DIR "
                             "--icon-name NAME\n");
        return 64;
    }
    QDir().mkpath(out);
    int n = 0;
    n += mc::skin::writeWindowImages(out);
    n += mc::skin::writeButtonImages(out);
    n += mc::skin::writeIconImages(out);
    for (const QString &name : productNames(option("--product-file"), option("--config")))
        n += mc::skin::writeProductImages(out, name);
    const bool gifWritten = mc::skin::writeLoadingGif(out + QStringLiteral("/loading.gif"));
    n += gifWritten ? 1 : 0;
    const int failed = mc::skin::imageWriteFailures() + (gifWritten ? 0 : 1);
    if (failed > 0) {
        // The build stops here: a skin with images missing would otherwise ship.
        std::fprintf(stderr, "mc_skingen: %d images could not be written in %s\n", failed,
                     qPrintable(out));
        return 1;
    }
    std::printf("mc_skingen: %d images in %s\n", n, qPrintable(out));
    return 0;
}
