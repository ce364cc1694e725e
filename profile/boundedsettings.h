// QSettings for the small settings files, opened only when the file is one QSettings can read
// in full: not larger than any settings file of ours could be, not a folder, not unreadable.
// Otherwise every read gives its default and every write is dropped, so that a file the program
// could not read is never replaced by one holding only the keys just written.
#pragma once

#include "profile/settings.h"

#include <QSettings>

#include <optional>

namespace mc {

// QSettings reads a group of the file when a key of it is first asked for, and finds that group
// by comparing names: a group whose name sorts between the group and the key ("[PROFILE\]", read
// as "PROFILE//", before "[PROFILE]") makes it read none, and the group's keys read as missing
// until something reads every group. Reading every group at once gives every key of the file,
// whatever was asked before, as our own reader does. (Asked outside any group, for the keys
// without a group: every group is read, and the list made is short.)
inline void readAllGroups(QSettings &settings)
{
    settings.childKeys();
}

class BoundedSettings final
{
public:
    explicit BoundedSettings(const QString &file)
    {
        if (settingsFileUsable(file)) {
            m_settings.emplace(file, QSettings::IniFormat);
            readAllGroups(*m_settings);
        }
    }
    BoundedSettings(const BoundedSettings &) = delete;
    BoundedSettings &operator=(const BoundedSettings &) = delete;

    bool usable() const { return m_settings.has_value(); }
    QVariant value(const QString &key, const QVariant &def = QVariant()) const
    {
        return m_settings ? m_settings->value(key, def) : def;
    }
    bool contains(const QString &key) const { return m_settings && m_settings->contains(key); }
    void setValue(const QString &key, const QVariant &value)
    {
        if (m_settings)
            m_settings->setValue(key, value);
    }
    void remove(const QString &key)
    {
        if (m_settings)
            m_settings->remove(key);
    }
    // Writes what was set to disk. False when the file was refused or could not be written.
    bool sync()
    {
        if (!m_settings)
            return false;
        m_settings->sync();
        return m_settings->status() == QSettings::NoError;
    }

private:
    std::optional<QSettings> m_settings;
};

} // namespace mc
