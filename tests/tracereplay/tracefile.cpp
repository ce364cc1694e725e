// Parsing trace and diagnostics lines.
#include "tracefile.h"

#include <QFile>

namespace mc::test {

namespace {
constexpr qint64 kMaxTraceFile = 64 * 1024 * 1024;
constexpr int kMaxReportBytes = 64;

bool parseBytes(const QList<QByteArray> &words, int from, QByteArray *bytes)
{
    for (int i = from; i < words.size(); ++i) {
        const QByteArray &w = words.at(i);
        bool ok = false;
        const uint v = w.toUInt(&ok, 16);
        if (w.size() != 2 || !ok || bytes->size() >= kMaxReportBytes)
            return false;
        bytes->append(char(v));
    }
    return !bytes->isEmpty();
}
} // namespace

TraceFile parseTrace(const QByteArray &text)
{
    TraceFile trace;
    const QList<QByteArray> lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QByteArray line = lines.at(n).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> words = line.simplified().split(' ');
        TraceLine t;
        t.lineNumber = n + 1;
        int at = 0;
        if (words.at(0) != ">" && words.at(0) != "<") {
            bool ok = false;
            t.seconds = words.at(0).toDouble(&ok);
            if (!ok || t.seconds < 0) {
                trace.error = QStringLiteral("line %1: no time stamp and no direction").arg(n + 1);
                return trace;
            }
            at = 1;
        }
        if (words.size() <= at + 1 || (words.at(at) != ">" && words.at(at) != "<")) {
            trace.error = QStringLiteral("line %1: no direction or no bytes").arg(n + 1);
            return trace;
        }
        t.direction = words.at(at).at(0);
        if (!parseBytes(words, at + 1, &t.bytes)) {
            trace.error = QStringLiteral("line %1: bytes are not hexadecimal pairs").arg(n + 1);
            return trace;
        }
        trace.lines.append(t);
    }
    return trace;
}

TraceFile readTraceFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        TraceFile t;
        t.error = QStringLiteral("cannot read %1").arg(path);
        return t;
    }
    if (file.size() > kMaxTraceFile) {
        TraceFile t;
        t.error = QStringLiteral("%1 is too large for a recording").arg(path);
        return t;
    }
    return parseTrace(file.readAll());
}

} // namespace mc::test
