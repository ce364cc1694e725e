// The parts of the display link that both systems share: where the program is, how it is
// started, and how long a starting program is given.
#include "platform/osdlink.h"
#include "platform/log.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <iterator>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mc {

namespace {
// A Qt program comes up in well under a second, but a loaded machine may take seconds; the last
// look is about 6 s after the start.
constexpr int kRetryDelaysMs[] = {25, 50, 100, 200, 400, 800, 1600, 3200};

QStringList programCandidates()
{
    const QString dir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
#ifdef Q_OS_WIN
    return {dir + QStringLiteral("OSD.exe"), dir + QStringLiteral("mousecfg-osd.exe")};
#else
    return {dir + QStringLiteral("mousecfg-osd")};
#endif
}
} // namespace

QString osdServerName()
{
#ifdef Q_OS_WIN
    return QLatin1String(kOsdWindowTitle);
#else
    // Spaces are fine in a socket path, but a name without them is easier to look at; the user
    // ID keeps two users of one machine apart.
    return QString::fromLatin1(kOsdWindowTitle).replace(QLatin1Char(' '), QLatin1Char('-')) +
           QLatin1Char('-') + QString::number(getuid());
#endif
}

bool startOsdProgram()
{
    for (const QString &program : programCandidates()) {
        if (!QFileInfo(program).isExecutable())
            continue;
        if (QProcess::startDetached(program, QStringList()))
            return true;
        qCDebug(lcPlatform, "On-screen display: %s did not start", qPrintable(program));
        return false;
    }
    qCDebug(lcPlatform, "On-screen display: no display program beside the executable");
    return false;
}

int osdRetryDelayMs(int attempt)
{
    if (attempt < 0 || attempt >= int(std::size(kRetryDelaysMs)))
        return -1;
    return kRetryDelaysMs[attempt];
}

} // namespace mc
