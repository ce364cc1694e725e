// A fast reader and writer of INI files that QSettings reads and writes identically: the same
// escaping, the same "@Variant(...)" form for colours, the same group layout (a key
// "PROFILE/LedMode/LED_MODE_5_h" is "LedMode\LED_MODE_5_h" under [PROFILE]). QSettings takes
// about 50 ms for one full profile file; this takes a fraction of that, which keeps saving and
// loading the five slots well below what a user notices.
//
// Values are kept as the encoded bytes of the file and decoded only when asked for, with plain
// integers decoded directly. Keys that other programs or versions wrote are kept when the file is
// written again. Used from one thread at a time.
#pragma once

#include "profile/saveresult.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

namespace mc {

class IniFile final
{
public:
    // Files larger than this are not read: no settings file of ours comes near it, and reading
    // one would only serve to exhaust memory.
    static constexpr qint64 kMaxFileSize = 8 * 1024 * 1024; // a full export is about 1.3 MB

    // Reads and parses the file. A missing, unreadable or oversized file leaves the object
    // empty and returns false; reading never fails otherwise (bad lines are skipped as
    // QSettings skips them).
    bool load(const QString &path);
    void parse(const QByteArray &data);

    bool contains(const QString &key) const { return m_index.contains(key); }
    int size() const { return m_index.size(); }
    QStringList keys() const; // in file order

    // The value QSettings would return for the key, or def when the key is absent.
    QVariant value(const QString &key, const QVariant &def = QVariant()) const;
    // Conversions as QVariant::toInt()/toUInt()/toString() of that value (0 or empty when the
    // value does not convert); def only when the key is absent.
    int intValue(const QString &key, int def = 0) const;
    uint uintValue(const QString &key, uint def = 0) const;
    QString stringValue(const QString &key, const QString &def = QString()) const;
    // A stored colour as stored, a convertible value converted, anything else invalid.
    QColor colorValue(const QString &key) const;

    void setValue(const QString &key, const QVariant &value);
    void setInt(const QString &key, qlonglong value);
    void setString(const QString &key, const QString &value);
    // Stores the already encoded text that follows "key=" in the file.
    void setEncoded(const QString &key, const QByteArray &encoded);
    void remove(const QString &key);

    // The file contents: one [section] per first key part in order of first appearance.
    QByteArray toBytes() const;
    // The lines of the parsed keys for which keep is true, each copied byte for byte as the file
    // holds it (key and value, whatever their encoding or type), under the group headers they
    // were read under, in file order (a UTF-8 byte order mark, which changes how the values
    // read, is the caller's to keep: utf8Marked() tells). Only a value that would
    // run into the next line (an open quote or a trailing backslash, possible only at the end
    // of a file) is written again from its text. Empty when no key is kept.
    QByteArray rawLines(const std::function<bool(const QString &)> &keep) const;
    bool utf8Marked() const { return m_utf8; }
    // Writes the file atomically (creating its folder) unless it already holds exactly these
    // bytes; a file that is there but could not be read is not replaced.
    SaveResult save(const QString &path) const;

    // Reads a whole regular file into memory, refusing oversized ones, FIFOs and devices; false
    // when it cannot be read.
    static bool readFileBytes(const QString &path, QByteArray &out);
    // Writes the bytes atomically unless the file already holds them (saveFileAtomically).
    static SaveResult writeFileBytes(const QString &path, const QByteArray &bytes);

private:
    struct Entry
    {
        QString key;
        int section = 0;   // index into m_sections: decides which duplicate wins
        int lineStart = 0; // where the key begins in m_source
        int offset = 0;    // encoded value bytes in m_source or m_extra
        int length = 0;
        bool extra = false;
        bool removed = false;
    };

    const char *valueData(const Entry &e) const;
    const Entry *find(const QString &key) const;
    void addParsed(QString &&key, int section, int lineStart, int offset, int length);

    QByteArray m_source;
    QByteArray m_extra;
    bool m_utf8 = false; // the file began with a UTF-8 byte order mark
    QVector<Entry> m_entries;
    QVector<QString> m_sections;
    QHash<QString, int> m_index;
};

} // namespace mc
