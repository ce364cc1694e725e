// mousecfg-cli: the headless front end. Takes the data folder and backend options, then runs
// one command and exits with its status.
#include "cli/clicommand.h"
#include "emulator/backendselect.h"
#include "profile/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>

using namespace mc;

namespace {
// The device code's diagnostics are for developers: shown with --verbose, dropped otherwise,
// so that standard error carries only what the user needs.
bool g_verbose = false;

void messageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg && !g_verbose)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message.trimmed()));
    std::fflush(stderr);
}
// The position of the first argument that does not survive the trip into the program's text and
// back to a file name (bytes that are not valid in the locale's encoding), or 0. Such an
// argument would name another file than the one given.
int firstLossyArgument(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray given(argv[i]);
        if (QFile::encodeName(QFile::decodeName(given)) != given)
            return i;
    }
    return 0;
}

// The options installBackendFromArgs takes (emulator, trace, diagnostics).
bool isBackendOption(const QString &a)
{
    return a == QLatin1String("--emulate") || a.startsWith(QLatin1String("--emulate=")) ||
           a == QLatin1String("--trace") || a.startsWith(QLatin1String("--trace=")) ||
           a.startsWith(QLatin1String("--diagnostics"));
}

// The command the arguments name: the first one after the program that is not a backend
// option, when it is a command's name; nullptr otherwise.
const cli::Command *findCommand(const QStringList &args)
{
    for (const QString &a : args.mid(1)) {
        if (isBackendOption(a))
            continue;
        for (const cli::Command &c : cli::commands()) {
            if (a == QLatin1String(c.name))
                return &c;
        }
        return nullptr;
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(messageHandler);
    if (const int lossy = firstLossyArgument(argc, argv))
        return cli::usageError(QStringLiteral("argument %1 is not valid text in the current "
                                              "locale; name files with characters it can hold")
                                   .arg(lossy));
    QString dataDirError;
    QStringList args = applyDataDirOption(app.arguments(), &dataDirError);
    if (!dataDirError.isEmpty())
        return cli::usageError(dataDirError);
    seedDataFolder();
    g_verbose = args.removeAll(QStringLiteral("--verbose")) > 0;
    if (g_verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
    // An unknown or missing command is refused before the backend options are acted on: a
    // diagnostics file named on a command line that does nothing must stay as it was.
    if (!findCommand(args) && !args.contains(QStringLiteral("--help")) &&
        !args.contains(QStringLiteral("-h"))) {
        QStringList rest = args.mid(1);
        rest.erase(std::remove_if(rest.begin(), rest.end(), isBackendOption), rest.end());
        if (rest.isEmpty())
            return cli::usageError(QString());
        if (rest.first().startsWith(QLatin1Char('-')))
            return cli::usageError(QStringLiteral("unknown option \"%1\"").arg(rest.first()));
        return cli::usageError(QStringLiteral("unknown command \"%1\"").arg(rest.first()));
    }
    QString error;
    args = installBackendFromArgs(args, &error);
    if (!error.isEmpty())
        return cli::usageError(error);
    args.removeFirst(); // the program
    if (args.isEmpty())
        return cli::usageError(QString());
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        cli::usageError(QString());
        return 0;
    }
    for (const cli::Command &c : cli::commands()) {
        if (name == QLatin1String(c.name)) {
            const int status = c.run(args);
            cli::closeMouse();
            return status;
        }
    }
    if (name.startsWith(QLatin1Char('-')))
        return cli::usageError(QStringLiteral("unknown option \"%1\"").arg(name));
    return cli::usageError(QStringLiteral("unknown command \"%1\"").arg(name));
}
