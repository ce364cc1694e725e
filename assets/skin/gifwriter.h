// A small GIF89a writer for the loading animation: Qt reads GIF but cannot write it. Frames
// share one 256-colour palette; index 0 is transparent. Output loops forever.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QVector>

namespace mc::skin {

struct GifFrame
{
    QImage indexed; // Format_Indexed8 or plain 8-bit indices, all frames of one size
    int delayMs = 80;
};

// LZW-compresses one frame's indices as GIF image data (minimum code size 8, sub-blocks).
QByteArray gifLzw(const QVector<uint8_t> &indices);

// The whole file. palette: up to 256 colours (index 0 is the transparent one).
QByteArray encodeGif(const QVector<GifFrame> &frames, const QVector<QRgb> &palette);

} // namespace mc::skin
