// What became of saving one of the user's files (or several, saved together): done, with or
// without the file replaced, or failed with the file and the operating system's reason. Every
// write of a user's file returns one, so that a failure reaches the message the user reads with
// its reason instead of being lost in a bool. Plain value; any thread.
#pragma once

#include <QString>

namespace mc {

class SaveResult final
{
public:
    SaveResult() = default; // done, nothing written
    static SaveResult done(const QString &file, bool written);
    static SaveResult failed(const QString &file, const QString &reason);
    // The usual refusals: a name that cannot name a file of ours, and a file that is there but
    // could not be read (and so is not written over).
    static SaveResult unsafeName(const QString &name);
    static SaveResult unreadable(const QString &file);

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    // True when a file was replaced or created (false when it already held the bytes).
    bool written() const { return m_written; }
    // The file that could not be saved (the last one saved when done), native separators.
    const QString &file() const { return m_file; }
    const QString &reason() const { return m_reason; }
    // One line for the user naming the file and the reason; empty when done.
    QString message() const;

    // Adds the result of a further file: the first failure is the one kept.
    SaveResult &operator+=(const SaveResult &next);

private:
    bool m_ok = true;
    bool m_written = false;
    QString m_file;
    QString m_reason;
};

} // namespace mc
