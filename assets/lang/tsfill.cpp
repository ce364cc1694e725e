// mc_tsfill FILE.ts: writes the English rendering of every message into the file (used by
// scripts/update-translations.sh after lupdate has collected the source texts).
#include "englishrule.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: mc_tsfill FILE.ts\n");
        return 64;
    }
    QFile f(args.at(1));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mc_tsfill: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QString filled = mc::fillEnglishTranslations(QString::fromUtf8(f.readAll()));
    f.close();
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "mc_tsfill: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    f.write(filled.toUtf8());
    return 0;
}
