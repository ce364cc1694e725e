// The on-screen-display message: a fixed 1044-byte block, the same on every system (the data of
// a WM_COPYDATA message on Windows, one record on the local socket elsewhere). Numbers are
// 32-bit little-endian, texts UTF-16LE and zero-terminated.
//   offset   0, 512 bytes  text (at most 255 characters)
//   offset 512,   4 bytes  0
//   offset 516,   4 bytes  display time in milliseconds (1500)
//   offset 520,   4 bytes  0
//   offset 524,   4 bytes  colour 0x00BBGGRR (red in the low byte)
//   offset 528,   4 bytes  font size (60)
//   offset 532, 512 bytes  font family ("Arial")
#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

namespace mc {

constexpr int kOsdMessageSize = 1044;
constexpr int kOsdTextOffset = 0;
constexpr int kOsdTextBytes = 512;
constexpr int kOsdDisplayTimeOffset = 516;
constexpr int kOsdColourOffset = 524;
constexpr int kOsdFontSizeOffset = 528;
constexpr int kOsdFontOffset = 532;
constexpr int kOsdFontBytes = 512;
static_assert(kOsdFontOffset + kOsdFontBytes == kOsdMessageSize, "the block is 1044 bytes");

constexpr int kOsdMaxTextLength = 255;
constexpr int kOsdDisplayTimeMs = 1500;
constexpr int kOsdFontSize = 60;
inline constexpr char kOsdFontFamily[] = "Arial";

// The title of the display program's window; on Linux also the base of its local server name.
inline constexpr char kOsdWindowTitle[] = "TOLQ Wireless Mouse OSD";

// The block announcing text in colour, with the fixed display time, font and size. Text beyond
// 255 characters is cut (never inside a surrogate pair).
QByteArray osdMessageBlock(const QString &text, const QColor &colour);

struct OsdMessage
{
    QString text;
    QColor colour;
    int displayTimeMs = kOsdDisplayTimeMs;
    int fontSize = kOsdFontSize;
    QString fontFamily;
};

// Reads a block that came from outside. False for a block of the wrong size or a text or font
// field without its terminating zero; numbers out of reason are brought into range (display
// time 1 ms to 60 s, font size 1 to 400), an empty font family reads as Arial.
bool parseOsdMessageBlock(const QByteArray &block, OsdMessage *message);

} // namespace mc
