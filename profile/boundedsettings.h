// QSettings for reading the small settings files, opened only when the file is one QSettings can
// read in full: not larger than any settings file of ours could be, not a folder, not
// unreadable. Otherwise every read gives its default. Writes go through editSettingsFile, whose
// atomic save reports a full disk (QSettings' own save can rename a cut-short file into place).
#pragma once

#include "profile/inifileformat.h"
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
            m_settings.emplace(file, iniSettingsFormat());
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

private:
    std::optional<QSettings> m_settings;
};

} // namespace mc
