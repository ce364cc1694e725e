// Shared parts of the harnesses.
#include "fuzzsupport.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace mc::fuzz {

void fail(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::fputs("fuzz check failed: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::abort();
}

void quietQt()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            std::abort();
        }
    });
}

QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

Scratch::Scratch()
{
    if (!m_root.isValid())
        fail("no temporary folder");
}

QString Scratch::next()
{
    if (!m_current.isEmpty())
        QDir(m_current).removeRecursively();
    m_current = m_root.filePath(QString::number(++m_inputs));
    QDir().mkpath(m_current);
    return m_current;
}

QString Scratch::freshFile(const QString &suffix)
{
    if (m_current.isEmpty())
        next();
    return m_current + QStringLiteral("/f%1").arg(++m_files) + suffix;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString describe(const QVariant &v)
{
    if (v.userType() == QMetaType::QStringList)
        return QStringLiteral("list:") + v.toStringList().join(QChar(0x1F));
    if (v.userType() == QMetaType::QVariantList) {
        QStringList parts;
        for (const QVariant &item : v.toList())
            parts << describe(item);
        return QStringLiteral("vlist:") + parts.join(QChar(0x1E));
    }
    if (v.userType() == QMetaType::QColor) {
        const QColor c = v.value<QColor>();
        return QStringLiteral("color:%1:%2:%3").arg(c.isValid()).arg(int(c.spec())).arg(c.rgba64());
    }
    if (v.userType() == QMetaType::QByteArray)
        return QStringLiteral("bytes:") + QString::fromLatin1(v.toByteArray().toHex());
    return QString::fromLatin1(v.typeName() ? v.typeName() : "invalid") + QLatin1Char(':') +
           v.toString();
}

QMap<QString, QString> qsettingsView(Scratch &scratch, const QByteArray &bytes)
{
    const QString path = scratch.freshFile();
    writeFile(path, bytes);
    QSettings qs(path, QSettings::IniFormat);
    QMap<QString, QString> view;
    const QStringList keys = qs.allKeys();
    for (const QString &key : keys) {
        if (!key.isEmpty())
            view.insert(key, describe(qs.value(key)));
    }
    return view;
}

} // namespace mc::fuzz
