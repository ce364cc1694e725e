// The text rules of our INI files, the same as the settings library's INI format: how a file
// splits into lines, how keys and values are escaped, how a value line becomes a string, a string
// list or a typed value, and how a typed value is written. Profile files, exports and macro files
// are read and written by us and by QSettings alike, so both must agree byte for byte on these
// rules.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

class QTextCodec;

namespace mc::ini {

// Lines: the next logical line of the file from pos on, as the settings library splits them
// (comment lines and blank space skipped, continued over backslash-newline and over line breaks
// inside quotes, ended by a line break or an unquoted ";"). lineStart and lineLen give the line,
// equalsPos its first unquoted "=" (-1 for none); pos moves past it. False at the end.
bool readLine(const QByteArray &data, int &pos, int &lineStart, int &lineLen, int &equalsPos);

// Keys: "/" is written as "\", letters, digits, "_", "-" and "." as they are, every other
// character as %XX or %UXXXX.
void escapeKey(const QString &key, QByteArray &out);
// Decodes key bytes [from, to) and appends them to out.
void unescapeKey(const QByteArray &bytes, int from, int to, QString &out);

// Values: C-style escapes for control characters and quotes, \x escapes for everything from 0x7F
// up (no codec), quotes around values with ";", "," or "=" or with a space at either end.
void escapeString(const QString &value, QByteArray &out);
// Decodes value bytes [from, to). Unquoted commas make a list: then the result is true and the
// items are in list. utf8 is set for files that start with a UTF-8 byte order mark.
bool unescapeStringList(const QByteArray &bytes, int from, int to, bool utf8, QString &str,
                        QStringList &list);

// Typed values in text form: "@Variant(...)" (QDataStream Qt_4_0) for colours and other types,
// "@@" for a string that starts with "@", "@Invalid()" for no value.
QString variantToString(const QVariant &value);
QVariant stringToVariant(const QString &text);
QVariant stringListToVariant(const QStringList &list);

// False when the bytes must not be given to the settings library (QSettings): a value, or an
// item of a list value, holds a typed form that it would decode without bound or into an
// undefined value: "@Variant(...)" of a type whose stream form can claim gigabytes before the
// data is there (lists, vectors, bit arrays, user types) or of a colour model it does not know,
// or "@DateTime(...)", whose time-zone name it would look up as a file. Every line counts, also
// one that a later line of the same key hides: QSettings decodes them all as it reads the file.
// Our own reader refuses these values one by one (they read as no value).
bool safeForQSettings(const QByteArray &bytes);

// Digits with an optional minus sign, short enough to fit an int: the form every number of ours
// has. False for anything else, which then needs the full conversion.
bool parsePlainInt(const char *p, int len, qint64 &out);

// The complete encoded value as it follows "key=" in a file.
QByteArray encodeValue(const QVariant &value);
// Decodes the text after "key=" into the value QSettings would return for it.
QVariant decodeValue(const QByteArray &bytes, int from, int to, bool utf8);

} // namespace mc::ini
