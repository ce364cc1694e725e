// Runs the real mousecfg-cli (MOUSECFG_CLI_PATH, set by the build) on a data folder, with the
// emulation and data-folder variables of the calling environment removed, so that only the
// arguments decide. Standard output is returned line by line.
#pragma once

#include <QProcess>
#include <QStringList>

namespace mc::test {

struct CliRun
{
    int exitCode = -1; // -1: did not finish in time; -2: crashed
    QStringList lines;
};

// extraEnv: NAME=VALUE pairs put into the environment.
inline CliRun runCli(const QString &dataDir, const QStringList &args,
                     const QStringList &extraEnv = {})
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("MOUSECFG_EMULATE"));
    env.remove(QStringLiteral("MOUSECFG_DATA_DIR"));
    env.remove(QStringLiteral("MOUSECFG_EMULATE_MOTION"));
    for (const QString &pair : extraEnv)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(MOUSECFG_CLI_PATH),
            QStringList{QStringLiteral("--data-dir"), dataDir} + args);
    CliRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return r;
}

} // namespace mc::test
