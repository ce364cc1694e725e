// The English rendering rule and the .ts filler.
#include "englishrule.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace mc {

namespace {

const QHash<QString, QString> &renames()
{
    static const QHash<QString, QString> map = {
        // The text follows a number ("5 MINUTE"): the space stays, or the two run together.
        {QStringLiteral(" MINUTE"), QStringLiteral(" MINUTE")},
        {QStringLiteral("Delay:"), QStringLiteral("DELAY(ms):")},
        {QStringLiteral("Enable sync"), QStringLiteral("MOTION SYNC")},
        {QStringLiteral("FULL LIGHTED"), QStringLiteral("STATIC")},
        {QStringLiteral("Horizontal GO WITHOUT TRACE"), QStringLiteral("GO WITHOUT TRACE")},
        {QStringLiteral("Horizontal WAVE"), QStringLiteral("WAVE")},
        {QStringLiteral("LED SWITCH"), QStringLiteral("LEDMODE SWITCH")},
        {QStringLiteral("Led Switch"), QStringLiteral("LEDMODE SWITCH")},
        {QStringLiteral("LOAD1"), QStringLiteral("LOAD")},
        {QStringLiteral("LOOPS TIME(1-255)"), QStringLiteral("LOOPS TIME")},
        {QStringLiteral("Mouse is sleeping or not connected."),
         QStringLiteral("Mouse is sleeping or not connected,send data failed.")},
        {QStringLiteral("Profile +"), QStringLiteral("MODE +")},
        {QStringLiteral("Profile -"), QStringLiteral("MODE -")},
        {QStringLiteral("Profile Menu"), QStringLiteral("MODE")},
        {QStringLiteral("Profile Switch"), QStringLiteral("MODE SWITCH")},
        {QStringLiteral("RAINBOW"), QStringLiteral("NEON")},
        {QStringLiteral("REACTIVE"), QStringLiteral("RESPONSIVE")},
        {QStringLiteral("Raindrop"), QStringLiteral("RAINDROPS")},
        // Source texts that would read as a misspelling or as a fault.
        {QStringLiteral("REPEAT RUN UNTILL THE KEY DOWN"),
         QStringLiteral("REPEAT UNTIL THE KEY IS PRESSED AGAIN")},
        {QStringLiteral("The diagnostics were recorded in %1"),
         QStringLiteral("DONE: THE DIAGNOSTICS ARE SAVED IN %1")},
        // The per-application field's hint, short enough to be read whole in the field.
        {QStringLiteral("Executable or window class"), QStringLiteral("Program or class")},
        // Column captions written with one capital.
        {QStringLiteral("ACTION"), QStringLiteral("Action")},
        {QStringLiteral("DELAY"), QStringLiteral("Delay")},
        {QStringLiteral("DELAY(ms)"), QStringLiteral("Delay(ms)")},
        {QStringLiteral("DISTANCE"), QStringLiteral("Distance")},
        {QStringLiteral("KEY"), QStringLiteral("Key")},
        {QStringLiteral("MOVEMENT"), QStringLiteral("Movement")},
        // The dialogs' buttons.
        {QStringLiteral("Ok"), QStringLiteral("OK")},
        {QStringLiteral("Yes"), QStringLiteral("YES")},
        {QStringLiteral("No"), QStringLiteral("NO")},
    };
    return map;
}

const QSet<QString> &keptAsTheyAre()
{
    static const QSet<QString> set = {
        QStringLiteral("1 mm"),
        QStringLiteral("2 mm"),
        QStringLiteral("1mm"),
        QStringLiteral("2mm"),
        QStringLiteral("Boss Key"),
        QStringLiteral("Color Edit"),
        QStringLiteral("Press"),
        QStringLiteral("Release"),
        QStringLiteral("Do you want to upgrade the firmware?"),
        QStringLiteral("Dongle Disconnect!"),
        QStringLiteral("Send data failed, please try again."),
        QStringLiteral("To update the firmware, please connect to the computer with a cable."),
    };
    return set;
}

QString xmlUnescape(QString s)
{
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&apos;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

} // namespace

QString englishRendering(const QString &context, const QString &source)
{
    // Contexts are class names; the program's classes live in a namespace.
    const int sep = context.lastIndexOf(QLatin1String("::"));
    const QString bare = sep < 0 ? context : context.mid(sep + 2);
    // The main window and the macro editor keep every text, also those renamed elsewhere (the
    // editor's "LOOPS TIME(1-255)" stays as it is).
    if (bare == QLatin1String("MousecfgWidget") || bare == QLatin1String("MacroDialog"))
        return source;
    const auto it = renames().constFind(source);
    if (it != renames().constEnd())
        return *it;
    if (keptAsTheyAre().contains(source))
        return source;
    if (bare == QLatin1String("QObject"))
        return source.toUpper();
    return source; // the main window, the macro editor and the other dialogs
}

QString fillEnglishTranslations(const QString &tsContents)
{
    static const QRegularExpression contextRe(
        QStringLiteral("<context>\\s*<name>(.*?)</name>(.*?)</context>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression messageRe(
        QStringLiteral("(<message[^>]*>.*?<source>(.*?)</source>.*?)"
                       "<translation[^>]*?(?:/>|>.*?</translation>)"),
        QRegularExpression::DotMatchesEverythingOption);

    QString out;
    int pos = 0;
    auto contexts = contextRe.globalMatch(tsContents);
    while (contexts.hasNext()) {
        const auto c = contexts.next();
        const QString context = xmlUnescape(c.captured(1));
        out += tsContents.mid(pos, c.capturedStart(2) - pos);
        const QString body = c.captured(2);
        QString filled;
        int bpos = 0;
        auto messages = messageRe.globalMatch(body);
        while (messages.hasNext()) {
            const auto m = messages.next();
            filled += body.mid(bpos, m.capturedStart(0) - bpos);
            const QString source = xmlUnescape(m.captured(2));
            QString english = englishRendering(context, source).toHtmlEscaped();
            filled += m.captured(1) + QStringLiteral("<translation>") + english +
                      QStringLiteral("</translation>");
            bpos = m.capturedEnd(0);
        }
        filled += body.mid(bpos);
        out += filled;
        pos = c.capturedEnd(2);
    }
    out += tsContents.mid(pos);
    return out;
}

} // namespace mc
