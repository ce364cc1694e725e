// What the libFuzzer harnesses share: failing with a message (libFuzzer keeps the input as a
// crash), a scratch folder with a fresh subfolder per input, and the view QSettings has of a
// file's bytes, for the harnesses that check our readers against it.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <cstddef>
#include <cstdint>

namespace mc::fuzz {

// Prints the message and aborts: the input becomes a crash artifact.
[[noreturn]] void fail(const char *format, ...) __attribute__((format(printf, 1, 2)));

#define MC_FUZZ_CHECK(condition, ...)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::mc::fuzz::fail(__VA_ARGS__);                                                         \
    } while (0)

// The program's debug lines and warnings would flood the fuzzer's output; fatal messages stay.
void quietQt();

QByteArray bytesOf(const uint8_t *data, size_t size);

// A temporary folder for the whole run. next() gives an empty subfolder of a name never used
// before and removes the previous one: QSettings keeps the files it has read and trusts their
// size and time, so a path written twice in the same millisecond could read stale.
class Scratch final
{
public:
    Scratch();
    QString next();
    // A file path no QSettings of this process has seen, in the current subfolder.
    QString freshFile(const QString &suffix = QStringLiteral(".ini"));

private:
    QTemporaryDir m_root;
    QString m_current;
    quint64 m_inputs = 0;
    quint64 m_files = 0;
};

bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// A comparable text for a value: its type and its contents.
QString describe(const QVariant &value);

// Every key QSettings reads from the bytes (written to a fresh file) with the description of its
// value; the empty key, which QSettings cannot look up, is left out. Only for bytes that
// ini::safeForQSettings passes: QSettings decodes hostile typed values without bound.
QMap<QString, QString> qsettingsView(Scratch &scratch, const QByteArray &bytes);

} // namespace mc::fuzz
