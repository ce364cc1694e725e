// Reading and writing the user's files safely. A write goes to a file beside the target, is
// flushed and synced, and only then renamed over it: a full disk, a failing device or a crash
// leaves the old file whole, never a truncated one, and there is no direct-write fallback. A
// file that is there but could not be read is never written over. Reading opens only regular
// files, without blocking, so that a FIFO or device in a file's place cannot hang the program.
// Any thread; nothing is shared between calls.
#pragma once

#include "profile/saveresult.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QFile;
class QIODevice;
class QSaveFile;

namespace mc {

// Opens path for reading if it is a regular file (a symbolic link to one counts), never waiting
// for a writer. False, with the reason, otherwise.
bool openRegularFile(QFile &file, const QString &path, QString *reason = nullptr);

// Reads what is left of an open device, at most maxSize bytes: false (out empty) when there is
// more or a read failed. A buffer of the device's own size is taken, not one of maxSize.
bool readBounded(QIODevice &device, qint64 maxSize, QByteArray &out);

// Reads a regular file of at most maxSize bytes whole. False (out empty, reason set) when it is
// missing, not a regular file, larger, or could not be read.
bool readRegularFile(const QString &path, qint64 maxSize, QByteArray &out,
                     QString *reason = nullptr);

// Several files saved together: each is written aside and flushed as it is added, and none
// replaces its target before all were written in full. A failure while adding (no room, no
// permission, a target that could not be read) cancels the whole batch, so a change spread over
// several files lands whole or not at all. The renames keep it so: while they run, the old
// files stay aside under a second name, and a rename that fails part-way (a target turned into
// a folder, a file system gone read-only) puts every file renamed before it back as it was.
// Targets that already hold their bytes are left alone. What is not committed is discarded
// when the batch ends.
class SaveBatch final
{
public:
    SaveBatch();
    ~SaveBatch();
    SaveBatch(const SaveBatch &) = delete;
    SaveBatch &operator=(const SaveBatch &) = delete;

    // Writes the bytes beside path (creating its folder). Ignored once something failed.
    void add(const QString &path, const QByteArray &bytes);
    // The outcome so far: a failure of add() shows here before commit.
    const SaveResult &result() const { return m_result; }
    // Renames every file over its target; returns what happened. Nothing is renamed after a
    // failed add(); after a failed rename every target holds what it held before (or, should
    // even that fail, the result names where the old file was kept).
    SaveResult commit();

private:
    struct Pending;
    bool keepOldFilesAside();
    void putBack(size_t renamed);
    void dropOldFiles();
    std::vector<std::unique_ptr<Pending>> m_pending;
    SaveResult m_result;
};

// One file saved as above; done without writing when the file already holds the bytes.
SaveResult saveFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace mc
