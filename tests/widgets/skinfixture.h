// A temporary data folder for widget tests: its own skin images in plain colours (so a test
// can tell from a pixel which image was drawn) and its own Config.ini.
#pragma once

#include "profile/paths.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

namespace mc::test {

class SkinFixture
{
public:
    SkinFixture()
    {
        setAppDir(m_dir.path());
        QDir(m_dir.path()).mkpath(QStringLiteral("skin"));
        QDir(m_dir.path()).mkpath(QStringLiteral("Configs"));
        setScaleFactor(1.0);
        setUiLanguage(0);
        resetThemeCache();
    }
    ~SkinFixture()
    {
        setAppDir(QString());
        resetThemeCache();
    }

    QString path() const { return m_dir.path(); }

    // Writes skin/<name> as a 20 x 20 image of one colour and returns its full path.
    QString image(const QString &name, const QColor &colour)
    {
        QImage img(20, 20, QImage::Format_ARGB32);
        img.fill(colour);
        const QString file = skinPath(name);
        img.save(file);
        return file;
    }

    void setConfig(const QString &key, const QVariant &value)
    {
        {
            QSettings s(m_dir.path() + QStringLiteral("/Configs/Config.ini"), QSettings::IniFormat);
            s.setValue(key, value);
        }
        resetThemeCache();
    }

    void setDescription(const QString &key, const QVariant &value)
    {
        {
            QSettings s(m_dir.path() + QStringLiteral("/DefaultProfile.bin"), QSettings::IniFormat);
            s.setValue(key, value);
        }
        resetThemeCache();
    }

private:
    QTemporaryDir m_dir;
};

} // namespace mc::test
