// Where everything lives: the application directory A, the configuration folder K, the product
// folder P and the files below them. The one place that computes these paths.
#pragma once

#include <QString>
#include <QStringList>

namespace mc {

// A: the data folder. Defaults to the executable's folder; MOUSECFG_DATA_DIR or --data-dir
// override it (tests always point it at a temporary folder).
QString appDir();
void setAppDir(const QString &dir);
// Takes "--data-dir DIR" / "--data-dir=DIR" out of the arguments and applies it together with
// MOUSECFG_DATA_DIR (the option wins). Returns the remaining arguments.
QStringList applyDataDirOption(const QStringList &args);

QString configDir();                      // K = A + "/Configs"
QString productDir();                     // P = K + "/" + current product name
QString productDescriptionFile();         // A + "/DefaultProfile.bin"
QString appSettingsFile();                // K + "/Config.ini"
QString langSettingsFile();               // K + "/LangConfig.ini"
QString productSettingsFile();            // P + "/Config.ini"
QString profileDir();                     // P + "/Profile": slot files and library files alike
QString legacyProfileDir();               // K + "/Profile": where slot files used to be kept
QString profileFile(const QString &name); // profileDir() + "/" + name + ".prof"
QString defaultProfileFile();             // K + "/Profile/DefaultProfile.prof"
QString macroDir();                       // K + "/MacroDB"
QString macroFile(const QString &name);   // macroDir() + "/" + name + ".MSMACRO"

// True when the name can be used as a file name inside our folders: not empty, no path
// separators, not "." or "..", no characters or device names that Windows refuses, at most
// kMaxFileNameLength characters.
constexpr int kMaxFileNameLength = 200;
bool isSafeFileName(const QString &name);

// True when two profile or file names name the same file: ignoring case where the file system
// does (Windows), exactly elsewhere. Every "is this name taken" check goes through it.
bool sameFileName(const QString &a, const QString &b);

} // namespace mc
