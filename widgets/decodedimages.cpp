// Layout, little-endian throughout:
//   "MCDECIMG" | u32 version | u32 tint | u32 factor in thousandths | u32 count
//   count entries: u32 path bytes | path (UTF-8) | i64 source size | i64 source time (ms since
//   the epoch) | u32 width | u32 height | width * height * 4 bytes of premultiplied ARGB
// Every count and size is checked against its bound and against what is left of the file before
// anything is allocated for it.
#include "widgets/decodedimages.h"

#include "profile/filesave.h"
#include "profile/paths.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace mc::decodedimages {

namespace {

constexpr char kMagic[8] = {'M', 'C', 'D', 'E', 'C', 'I', 'M', 'G'};
constexpr quint32 kVersion = 1;
constexpr quint32 kMaxImages = 256;
constexpr quint32 kMaxPathBytes = 4096;
constexpr quint32 kMaxSide = 8192; // as large as any skin image the window may hold

quint32 factorKey(double factor)
{
    return quint32(std::lround(qBound(0.0, factor, 100.0) * 1000));
}

} // namespace

SourceStamp stampOf(const QString &path)
{
#ifdef Q_OS_UNIX
    // Asked hundreds of times before the first frame (the theme's settings file among them):
    // QFileInfo's modification time goes through the time-zone rules, a stat does not.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000};
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
#endif
}

QString cacheFile()
{
    return cacheDir() + QStringLiteral("/first-frame-images.bin");
}

QHash<QString, QImage> read(const QString &file, QRgb tint, double factor)
{
    QHash<QString, QImage> images;
    // Only a regular file, opened without waiting: a FIFO in the cache's place would otherwise
    // hold the start until something writes to it.
    QFile f;
    if (!openRegularFile(f, file))
        return images;
    QDataStream in(&f);
    in.setByteOrder(QDataStream::LittleEndian);
    char magic[sizeof kMagic] = {};
    quint32 version = 0, fileTint = 0, fileFactor = 0, count = 0;
    if (in.readRawData(magic, sizeof magic) != int(sizeof magic) ||
        memcmp(magic, kMagic, sizeof magic) != 0)
        return images;
    in >> version >> fileTint >> fileFactor >> count;
    if (in.status() != QDataStream::Ok || version != kVersion || fileTint != quint32(tint) ||
        fileFactor != factorKey(factor) || count > kMaxImages)
        return images;
    for (quint32 i = 0; i < count; ++i) {
        quint32 pathBytes = 0;
        in >> pathBytes;
        if (in.status() != QDataStream::Ok || pathBytes > kMaxPathBytes)
            break;
        QByteArray path(int(pathBytes), Qt::Uninitialized);
        if (in.readRawData(path.data(), int(pathBytes)) != int(pathBytes))
            break;
        qint64 size = 0, msecs = 0;
        quint32 width = 0, height = 0;
        in >> size >> msecs >> width >> height;
        if (in.status() != QDataStream::Ok || width == 0 || height == 0 || width > kMaxSide ||
            height > kMaxSide)
            break;
        const qint64 bytes = qint64(width) * height * 4;
        if (f.size() - f.pos() < bytes)
            break;
        const QString source = QString::fromUtf8(path);
        const SourceStamp now = stampOf(source);
        if (now.size != size || now.msecs != msecs) {
            if (!f.seek(f.pos() + bytes))
                break;
            continue;
        }
        QImage img(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
        if (img.isNull() || img.sizeInBytes() != bytes)
            break;
        if (f.read(reinterpret_cast<char *>(img.bits()), bytes) != bytes)
            break;
        images.insert(source, img);
    }
    return images;
}

bool write(const QString &file, const QVector<Entry> &images, QRgb tint, double factor)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    QVector<const Entry *> kept;
    for (const Entry &entry : images) {
        const QImage &img = entry.image;
        if (!img.isNull() && quint32(img.width()) <= kMaxSide &&
            quint32(img.height()) <= kMaxSide &&
            entry.source.toUtf8().size() <= int(kMaxPathBytes) && kept.size() < int(kMaxImages))
            kept.append(&entry);
    }
    out.writeRawData(kMagic, sizeof kMagic);
    out << kVersion << quint32(tint) << factorKey(factor) << quint32(kept.size());
    for (const Entry *entry : qAsConst(kept)) {
        const QByteArray path = entry->source.toUtf8();
        const QImage img = entry->image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        out << quint32(path.size());
        out.writeRawData(path.constData(), path.size());
        out << entry->stamp.size << entry->stamp.msecs << quint32(img.width())
            << quint32(img.height());
        // Rows one after the other, without the padding a wider image line may have.
        for (int y = 0; y < img.height(); ++y)
            out.writeRawData(reinterpret_cast<const char *>(img.constScanLine(y)), img.width() * 4);
    }
    // Flushed before the commit, which would otherwise rename a file cut short by a full disk
    // into place.
    return out.status() == QDataStream::Ok && f.flush() && f.commit();
}

} // namespace mc::decodedimages
