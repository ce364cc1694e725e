// What the libFuzzer harnesses share: failing with a message (libFuzzer keeps the input as a
// crash), one scratch folder whose files are written again for every input, the view QSettings
// has of a file's bytes, and a memory of the shapes of inputs whose slow checks already ran.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_set>

namespace mc {
class IniFile;
}

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

// A temporary folder for the whole run, whose files are written again for every input: a folder
// per input cost more than the checks. QSettings keeps every file it has read and reads it again
// only when its size or modification time changed, so every write here gives the file a time no
// earlier write gave it; a file the program wrote itself is given one with touch().
class Scratch final
{
public:
    Scratch();
    QString folder() const { return m_root.path(); }
    QString file(const QString &name) const { return m_root.filePath(name); }
    // Writes the bytes (creating the file's folder) and gives the file a time of its own.
    void put(const QString &path, const QByteArray &bytes);
    void touch(const QString &path);

private:
    QTemporaryDir m_root;
    qint64 m_stamp;
    QSet<QString> m_folders; // made already
};

QByteArray readFile(const QString &path);

// A comparable text for a value: its type and its contents.
QString describe(const QVariant &value);

// Every key QSettings reads from the file (written by Scratch::put) with its value; the empty
// key, which QSettings cannot look up, is left out. Only for bytes that ini::safeForQSettings
// passes: QSettings decodes hostile typed values without bound.
using View = QMap<QString, QVariant>;
View qsettingsView(const QString &path);

// Our INI reader against QSettings: the same keys, each with the same value.
void checkSameKeys(const IniFile &ours, const View &theirs);

// Shapes of inputs, for checks too slow to run for every input (writing and reading back whole
// files): an input whose shapes were all seen before would take the same roads through them. A
// shape keeps what decides those roads (the kinds of characters in a text and where they stand, the
// sign and magnitude of a number) and drops the rest (which letters, which digits).
class Shapes final
{
public:
    // True the first time the shape is offered. A run of a single input always checks.
    bool isNew(const QByteArray &shape);
    // For a shape made of parts (the values of a record, each written and read on its own):
    // true when one of the parts was not seen before, for at most one input in every share
    // (the parts of an input turned away stay new). The first input is always taken, and every
    // input when MC_FUZZ_EVERY_CHECK is set (run-fuzzer.sh sets it for the regression inputs).
    bool anyNew(const QVector<QByteArray> &parts, int share);
    // The same with the parts made only when the share lets the input be taken: making them
    // for every input cost as much as a check.
    bool anyNew(const std::function<QVector<QByteArray>()> &parts, int share);

    static void addText(QByteArray &shape, const QString &text);
    static void addNumber(QByteArray &shape, qint64 value);

private:
    std::unordered_set<quint64> m_seen;
    quint64 m_offered = 0;
    quint64 m_taken = 0;
};

} // namespace mc::fuzz
