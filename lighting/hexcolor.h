// The colour dialog's hexadecimal field: how a text of up to six digits reads as a colour while
// it is typed, and how it is completed to six digits when editing ends. Pure functions.
#pragma once

#include <QColor>
#include <QString>

namespace mc {

// Three digits are the short form (each doubled); one, two, four, five or six digits are a
// number padded on the left to RRGGBB; an empty text, more than six characters or anything
// that is not hexadecimal reads as black. Alpha is always 255.
QColor colourFromHexText(const QString &text);

// The same text made six digits long by the same rule ("" -> "000000", "abc" -> "aabbcc",
// "FF" -> "0000FF"); a text that cannot be read completes to "000000".
QString completeHexText(const QString &text);

// Six lower-case digits with leading zeros.
QString hexTextOf(const QColor &colour);

} // namespace mc
