// Shared parts of the harnesses.
#include "fuzzsupport.h"

#include "profile/inifile.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QStringList>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

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

// In memory where there is such a folder: the program's writes are atomic and synced to disk,
// which would cost more than the checks.
Scratch::Scratch()
    : m_root(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                 ? QStringLiteral("/dev/shm/mousecfg-fuzz-XXXXXX")
                 : QDir::tempPath() + QStringLiteral("/mousecfg-fuzz-XXXXXX")),
      m_stamp(1000000000)
{
    if (!m_root.isValid())
        fail("no temporary folder");
}

void Scratch::put(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).path();
    if (!m_folders.contains(folder)) {
        QDir().mkpath(folder);
        m_folders.insert(folder);
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail("could not write %s", qPrintable(path));
    f.close();
    touch(path);
}

// Times count up a second at a time from a day long past, so that no write of the program,
// stamped with the present, can take one of them.
void Scratch::touch(const QString &path)
{
    const timespec times[2] = {{time_t(m_stamp), 0}, {time_t(m_stamp), 0}};
    ++m_stamp;
    if (utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0)
        fail("could not set the time of %s", qPrintable(path));
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

View qsettingsView(const QString &path)
{
    // A QSettings object of its own each time: one that read a file with a UTF-8 byte order
    // mark keeps reading every later file as UTF-8.
    QSettings qs(path, QSettings::IniFormat);
    View view;
    const QStringList keys = qs.allKeys();
    for (const QString &key : keys) {
        if (!key.isEmpty())
            view.insert(key, qs.value(key));
    }
    return view;
}

void checkSameKeys(const IniFile &ours, const View &theirs)
{
    QStringList mine = ours.keys();
    mine.removeAll(QString());
    MC_FUZZ_CHECK(mine.size() == theirs.size(), "%d keys read, QSettings reads %d",
                  int(mine.size()), int(theirs.size()));
    for (const QString &key : qAsConst(mine)) {
        const auto it = theirs.constFind(key);
        MC_FUZZ_CHECK(it != theirs.constEnd(), "key %s is not one QSettings reads",
                      qPrintable(key));
        const QString value = describe(ours.value(key));
        const QString expected = describe(it.value());
        MC_FUZZ_CHECK(value == expected, "key %s reads %s, QSettings reads %s", qPrintable(key),
                      qPrintable(value), qPrintable(expected));
    }
}

bool Shapes::isNew(const QByteArray &shape)
{
    quint64 hash = 14695981039346656037ull; // FNV-1a
    for (const char c : shape)
        hash = (hash ^ uchar(c)) * 1099511628211ull;
    return m_seen.insert(hash).second;
}

bool Shapes::anyNew(const QVector<QByteArray> &parts, int share)
{
    return anyNew([&] { return parts; }, share);
}

bool Shapes::anyNew(const std::function<QVector<QByteArray>()> &parts, int share)
{
    // Inputs that once failed are all checked in full, whatever ran before them.
    static const bool everyInput = qEnvironmentVariableIsSet("MC_FUZZ_EVERY_CHECK");
    if (everyInput)
        return true;
    ++m_offered;
    if (m_taken * quint64(share) >= m_offered)
        return false;
    bool any = false;
    for (const QByteArray &part : parts())
        any = isNew(part) || any;
    m_taken += any;
    return any;
}

namespace {

// A character's kind: letters and digits are one kind, the rest (what escaping, quoting,
// splitting and trimming look at) each their own, beyond ASCII by range.
char16_t kindOf(char16_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return 'a';
    if (c < 0x80)
        return c;
    if (c < 0x100)
        return 0x80;
    if (c >= 0xD800 && c < 0xE000)
        return 0xD800;
    return 0x100;
}

template <typename Char> void addKinds(QByteArray &shape, const Char *p, int size)
{
    char16_t last = 0;
    int run = 0;
    for (int i = 0; i < size; ++i) {
        const char16_t kind = kindOf(char16_t(p[i]));
        run = kind == last ? run + 1 : 1;
        last = kind;
        if (run == 1) // a run of one kind is the same however long
            shape.append(reinterpret_cast<const char *>(&kind), int(sizeof kind));
    }
    shape += '\0';
}

} // namespace

void Shapes::addText(QByteArray &shape, const QString &text)
{
    shape += 's';
    addKinds(shape, text.utf16(), text.size());
}

void Shapes::addNumber(QByteArray &shape, qint64 value)
{
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    int bits = 0;
    while (bits < 64 && (magnitude >> bits) != 0)
        ++bits;
    shape += value < 0 ? '-' : '+';
    shape += char(bits);
}

} // namespace mc::fuzz
