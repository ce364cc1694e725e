// The command registry and the shared helpers of mousecfg-cli.
#include "cli/clicommand.h"

#include "device/discovery.h"
#include "device/hidbackend.h"
#include "device/mouseconnection.h"
#include "device/writeresult.h"
#include "profile/profilestore.h"
#include "profile/settings.h"

#include <QDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace mc::cli {

namespace {
std::unique_ptr<MouseConnection> g_connection;

QVector<Command> &registry()
{
    static QVector<Command> list;
    return list;
}

void put(std::FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// The product openMouse opens: Config/CurrentProductName, else the first listed mouse.
QByteArray wantedProduct()
{
    const QByteArray name = readCurrentProduct().toUtf8();
    return name.isEmpty() ? connection().state().entries[0].productName : name;
}
} // namespace

CommandRegistration::CommandRegistration(const Command &command)
{
    QVector<Command> &list = registry();
    const auto at =
        std::lower_bound(list.begin(), list.end(), command, [](const Command &a, const Command &b) {
            return qstrcmp(a.name, b.name) < 0;
        });
    list.insert(at, command);
}

const QVector<Command> &commands()
{
    return registry();
}

void printLine(const QString &line)
{
    put(stdout, line);
}
void printError(const QString &line)
{
    put(stderr, line);
}

int usageError(const QString &message)
{
    if (!message.isEmpty())
        printError(QStringLiteral("mousecfg-cli: ") + message);
    printError(QStringLiteral("usage: mousecfg-cli [--data-dir DIR] [--emulate[=MODE]] [--trace] "
                              "[--diagnostics=FILE] [--verbose] COMMAND [ARGS]"));
    printError(QStringLiteral("commands:"));
    for (const Command &c : commands()) {
        QString head = QStringLiteral("  ") + QLatin1String(c.name);
        if (*c.arguments)
            head += QLatin1Char(' ') + QLatin1String(c.arguments);
        printError(head.leftJustified(32) + QLatin1String(c.summary));
    }
    printError(
        QStringLiteral("  watch --follow-focus").leftJustified(32) +
        QStringLiteral(
            "also switch the profile with the application in front ([FocusRules] of Config.ini)"));
    printError(QStringLiteral("MODE: receiver (default), cable, both, off, silent, none, denied"));
    return kExitUsage;
}

int loadDataFolderStore(ProfileStore &store)
{
    QString unreadable;
    if (LoadStore(store, &unreadable))
        return 0;
    printError(QStringLiteral("%1 could not be read (too large, a folder or not readable).")
                   .arg(QDir::toNativeSeparators(unreadable)));
    printLine(writeResultText(kStoreUnreadable));
    return kStoreUnreadable;
}

MouseConnection &connection()
{
    if (!g_connection)
        g_connection = std::make_unique<MouseConnection>(hidBackend());
    return *g_connection;
}

int openMouse()
{
    MouseConnection &c = connection();
    InitDeviceTable(c);
    const QString unreadable = settingsUnreadableText(c.state());
    if (!unreadable.isEmpty())
        printError(unreadable);
    if (EnumerateDevices(c) != 0) {
        printError(QStringLiteral("The HID library could not be initialised."));
        return 1;
    }
    OpenDeviceByName(c, wantedProduct());
    return c.commandHandle() ? 0 : 1;
}

QString openFailureText()
{
    const DeviceState &s = connection().state();
    const int count = std::clamp(s.count, 0, kMaxDeviceEntries);
    const QByteArray wanted = wantedProduct();
    bool wantedPresent = false;
    QByteArray other;
    for (int i = 0; i < count; ++i) {
        const DeviceEntry &e = s.entries[size_t(i)];
        if (!productPresent(e))
            continue;
        if (e.productName == wanted)
            wantedPresent = true;
        else if (other.isEmpty())
            other = e.productName;
    }
    if (wantedPresent) {
        const QString failure = mc::openFailureText(s);
        return failure.isEmpty() ? QStringLiteral("The mouse is present but could not be opened.")
                                 : failure;
    }
    if (!other.isEmpty())
        return QStringLiteral("The mouse present is \"%1\", not \"%2\" as "
                              "Config/CurrentProductName says; it was not opened.")
            .arg(QString::fromUtf8(other), QString::fromUtf8(wanted));
    return QStringLiteral("No mouse is present.");
}

void closeMouse()
{
    if (!g_connection)
        return;
    HidBackend &hid = g_connection->hid();
    g_connection.reset();
    hid.exit();
}

} // namespace mc::cli
