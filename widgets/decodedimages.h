// The images of the first frame, kept decoded between runs. Reading and scaling the skin's PNG
// files was the largest share of the program's start, and the skin seldom changes. The file
// holds the images for one scale factor and one theme colour; each image remembers the size and
// time of the file it came from, so a changed skin file is read again.
//
// The file is only a copy: a missing, damaged, hostile or foreign one reads as empty (the images
// then come from the skin as before), and a write that fails costs nothing but time on the next
// start. Both functions are safe on any thread; nothing else writes the file.
#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QVector>

namespace mc::decodedimages {

// Where the program keeps it: in the cache folder that goes with the data folder.
QString cacheFile();

// One state of a source file: a rewrite changes its time or its size.
struct SourceStamp
{
    qint64 size = -1;
    qint64 msecs = -1;
};
SourceStamp stampOf(const QString &path);

// An image and the state its source file had when it was read (taken before the read, so that a
// change made while it was read is seen on the next start).
struct Entry
{
    QString source;
    SourceStamp stamp;
    QImage image;
};

// The images of the file made for this tint and factor whose source files are unchanged, by
// source path, ready to draw (premultiplied ARGB).
QHash<QString, QImage> read(const QString &file, QRgb tint, double factor);

// Replaces the file by these images, in order, in one step; the folder is made when missing.
// Null images are left out. False when it could not be written; the old file is then left as it
// was.
bool write(const QString &file, const QVector<Entry> &images, QRgb tint, double factor);

} // namespace mc::decodedimages
