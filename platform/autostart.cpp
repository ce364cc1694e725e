// The Exec line of an XDG autostart entry (also used in tests on any system).
#include "platform/autostart.h"

#include <QStringList>

namespace mc::autostart {

QString desktopExecLine(const QStringList &program)
{
    QStringList quoted;
    for (const QString &arg : program) {
        QString q = QStringLiteral("\"");
        for (const QChar c : arg) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                return QString(); // a line break would end the entry's line
            // Inside quotes, these four are escaped for the command line...
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                q += QLatin1Char('\\');
            q += c;
        }
        q += QLatin1Char('"');
        quoted.append(q);
    }
    QString line = quoted.join(QLatin1Char(' '));
    // ...and then the value as a whole: a backslash is written twice in a string value, and
    // '%' starts a field code unless doubled.
    line.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    line.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return line;
}

} // namespace mc::autostart
