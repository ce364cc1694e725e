// mousecfg-cli: the headless front end. Takes the data folder and backend options, then runs
// one command and exits with its status.
#include "cli/clicommand.h"
#include "emulator/backendselect.h"
#include "profile/paths.h"

#include <QCoreApplication>
#include <QLoggingCategory>

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
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(messageHandler);
    QString dataDirError;
    QStringList args = applyDataDirOption(app.arguments(), &dataDirError);
    if (!dataDirError.isEmpty())
        return cli::usageError(dataDirError);
    seedDataFolder();
    g_verbose = args.removeAll(QStringLiteral("--verbose")) > 0;
    if (g_verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
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
