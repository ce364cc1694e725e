// QSettings for reading the small settings files, opened only when the file is one QSettings can
// read in full: not larger than any settings file of ours could be, not a folder, not
// unreadable. Otherwise every read gives its default. Writes go through editSettingsFile, whose
// atomic save reports a full disk (QSettings' own save can rename a cut-short file into place).
#pragma once

#include "profile/settings.h"

#include <QSettings>

#include <optional>

namespace mc {

class BoundedSettings final
{
public:
    explicit BoundedSettings(const QString &file)
    {
        if (settingsFileUsable(file))
            m_settings.emplace(file, QSettings::IniFormat);
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
