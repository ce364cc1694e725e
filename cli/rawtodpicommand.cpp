// "raw-to-dpi SENSOR RAW...": the DPI figure of each raw stage value for a sensor code, one per
// line in the order given. Needs no mouse.
#include "cli/clicommand.h"
#include "profile/rawtodpi.h"

#include <limits>

namespace mc::cli {

namespace {
int runRawToDpi(const QStringList &args)
{
    if (args.size() < 2)
        return usageError(
            QStringLiteral("raw-to-dpi needs a sensor code and at least one raw value"));
    bool ok = false;
    const int sensor = args[0].toInt(&ok);
    if (!ok)
        return usageError(QStringLiteral("\"%1\" is no sensor code").arg(args[0]));
    QVector<uint32_t> raws;
    for (int i = 1; i < args.size(); ++i) {
        const qulonglong raw = args[i].toULongLong(&ok);
        if (!ok || args[i].startsWith(QLatin1Char('-')) ||
            raw > std::numeric_limits<uint32_t>::max())
            return usageError(QStringLiteral("\"%1\" is no raw value").arg(args[i]));
        raws.append(uint32_t(raw));
    }
    for (uint32_t raw : raws)
        printLine(QString::number(RawToDpi(raw, sensor)));
    return 0;
}

const CommandRegistration registration{{"raw-to-dpi", "SENSOR RAW...",
                                        "the DPI figure of each raw value, one per line",
                                        &runRawToDpi}};
} // namespace

} // namespace mc::cli
