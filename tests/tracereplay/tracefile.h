// Reading a HID trace back: the plain lines of --trace ("> 05 24 fa ...") and the time-stamped
// lines of a diagnostics recording ("12.345 < 05 24 fa ..."). Comment lines ("#") and blank
// lines are skipped. A user's recording is a file from outside: a line that is neither form is
// an error with its line number, never a crash, and a file larger than any recording of a long
// session is refused unread.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace mc::test {

struct TraceLine
{
    double seconds = -1;  // since the recording began; -1 for a plain trace line
    char direction = '>'; // '>' written to the mouse, '<' read from it
    QByteArray bytes;
    int lineNumber = 0;
};

struct TraceFile
{
    QVector<TraceLine> lines;
    QString error; // empty when the whole file was read
    bool ok() const { return error.isEmpty(); }
};

TraceFile readTraceFile(const QString &path);
TraceFile parseTrace(const QByteArray &text);

} // namespace mc::test
