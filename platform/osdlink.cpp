// The parts of the display link that both systems share: where the program is, how it is
// started, and how long a starting program is given.
#include "platform/osdlink.h"
#include "platform/log.h"
#include "platform/runtimedir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <iterator>

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
    // Spaces are fine in a socket path, but a name without them is easier to look at. A full
    // path in the user's own runtime folder: a plain name would be looked up in the temporary
    // folder, where another user could put a socket of that name first and receive every
    // message. Empty (no display) when that folder cannot be used.
    const QString dir = userRuntimeDir();
    if (dir.isEmpty())
        return QString();
    return dir + QLatin1Char('/') +
           QString::fromLatin1(kOsdWindowTitle).replace(QLatin1Char(' '), QLatin1Char('-'));
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
