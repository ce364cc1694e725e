// The commands of mousecfg-cli and what they share. A command lives in its own source file and
// registers itself with a static CliCommandRegistration; main() finds it by name and runs it
// with the arguments after the command name. Its return value is the process exit status.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace mc {
class MouseConnection;
struct ProfileStore;
} // namespace mc

namespace mc::cli {

// Exit statuses besides the device result codes (0 ok, 1 no device, 2 no valid answer,
// 4 write failed, 5 mouse off) and the refusals of device/writeresult.h (8 not saved, 9 a
// settings file unreadable, ...).
constexpr int kExitUsage = 64;
// The file named on the command line was not taken: not there, not readable, or the
// configuration of another product.
constexpr int kExitFileRefused = 10;

struct Command
{
    const char *name;
    const char *arguments; // for the usage text, e.g. "SENSOR RAW..."
    const char *summary;
    int (*run)(const QStringList &args);
};

struct CommandRegistration
{
    explicit CommandRegistration(const Command &command);
};

const QVector<Command> &commands(); // sorted by name

// Standard output and error, one line each, flushed at once (trace lines go to standard output
// too, and must come out in order with these).
void printLine(const QString &line);
void printError(const QString &line);

// Prints the usage text to standard error and returns kExitUsage.
int usageError(const QString &message);

// Loads the store from the data folder as the window does at start-up. A settings file that is
// there but could not be read is refused, so that nothing of the folder is written from a store
// that does not hold the user's settings: the reason and the result text are printed and
// kStoreUnreadable returned. 0 otherwise.
int loadDataFolderStore(ProfileStore &store);

// The connection every command of this run talks through, on the backend the command line chose;
// made at the first call, ended by closeMouse.
MouseConnection &connection();

// Finds and opens the mouse the way the GUI does at start-up: fills the device table,
// enumerates and opens the product named by Config/CurrentProductName (or, when that is not
// set, the first listed mouse). Returns 0, or 1 when the HID library failed or nothing opened.
int openMouse();

// Why openMouse found no mouse to talk to, one line for the user: none is present, or the one
// present is not the product Config.ini names, or it could not be opened.
QString openFailureText();

// Ends the connection (its poller stopped, its handles closed) and releases the HID library.
void closeMouse();

} // namespace mc::cli
