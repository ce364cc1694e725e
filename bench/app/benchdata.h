// What the window benchmarks share: a private copy of the application folder, so a run writes
// nothing beside the build's executables. The first start on a fresh copy is a cold one: the
// program has written nothing there yet.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class BenchData
{
public:
    BenchData()
    {
        for (const char *folder : {"skin", "lang", "Configs"})
            copyTree(QStringLiteral(MC_BIN_DIR "/") + QLatin1String(folder),
                     m_dir.path() + QLatin1Char('/') + QLatin1String(folder));
        QFile::copy(QStringLiteral(MC_BIN_DIR "/DefaultProfile.bin"),
                    m_dir.path() + QStringLiteral("/DefaultProfile.bin"));
    }
    QString path() const { return m_dir.path(); }

private:
    static void copyTree(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        const QFileInfoList entries =
            QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QFileInfo &fi : entries) {
            const QString target = to + QLatin1Char('/') + fi.fileName();
            if (fi.isDir())
                copyTree(fi.filePath(), target);
            else
                QFile::copy(fi.filePath(), target);
        }
    }

    QTemporaryDir m_dir;
};
