// Where everything lives: the application directory A, the configuration folder K, the product
// folder P and the files below them. The one place that computes these paths.
#pragma once

#include <QString>
#include <QStringList>

namespace mc {

// Two folders. The data folder A holds what the program writes (Configs/: Config.ini,
// LangConfig.ini, profiles, macros). The shipped folder holds what the package ships and the
// program only reads (DefaultProfile.bin, skin/, lang/, the sample Configs/ a new data folder is
// seeded from): beside the executable in the build tree, <prefix>/share/mousecfg for an
// installed program (executable in <prefix>/bin).
//
// A: --data-dir or MOUSECFG_DATA_DIR when given (tests always point it at a temporary folder);
// otherwise the executable's folder, unless the program is installed or that folder cannot be
// written, in which case it is the user's data folder. Called from any thread.
QString appDir();
void setAppDir(const QString &dir);
// Takes "--data-dir DIR" / "--data-dir=DIR" out of the arguments and applies it together with
// MOUSECFG_DATA_DIR (the option wins). Returns the remaining arguments. A folder named by the
// option that does not exist (or is not a folder) is not created: error then says so ("no such
// folder ...") and the caller ends with a usage error.
QStringList applyDataDirOption(const QStringList &args, QString *error = nullptr);

QString shippedDir();  // where the package put its read-only files
QString userDataDir(); // $XDG_DATA_HOME/mousecfg (~/.local/share/mousecfg)
// Where the read-only files in use are read from: a data folder that was named (or is the
// shipped folder itself) is whole and holds its own; beside the user's data folder they are
// read from where they were installed, so an update of the package reaches every user.
QString readOnlyDir();
QString skinDir(); // readOnlyDir() + "/skin"
// The program's cache folder: A + "/cache" for a named data folder or one beside the
// executable, $XDG_CACHE_HOME/mousecfg beside the user's data folder. Nothing is kept there any
// more; it is named only so that what earlier versions left there can be removed.
QString cacheDir();
QString langDir(); // readOnlyDir() + "/lang"

// First start with an empty data folder: copies the shipped files into it, never replacing one.
// A named data folder gets everything (DefaultProfile.bin, Configs/, skin/, lang/); the user's
// data folder is created when missing and gets Configs/ only. Does nothing when the data folder
// is the shipped folder, does not exist or holds anything at all. Returns the number of files
// copied. Called once at start-up by both programs, after applyDataDirOption.
int seedDataFolder();

QString configDir();                      // K = A + "/Configs"
QString productDir();                     // P = K + "/" + productFolderName(current product name)
QString productDescriptionFile();         // readOnlyDir() + "/DefaultProfile.bin"
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
// kMaxFileNameLength bytes in UTF-8 (file systems count bytes, and the longest extension we add,
// ".MSMACRO", must still fit in their 255).
constexpr int kMaxFileNameLength = 200;
bool isSafeFileName(const QString &name);

// The folder name a product name is kept under: the name itself when it is a safe file name,
// otherwise the name with every character a file name cannot hold replaced by "_" (and cut to
// the length limit), so that "Mouse 4K/8K" lives in "Mouse 4K_8K". Empty for an empty name.
// Only paths use this form; the product keeps its name everywhere else.
QString productFolderName(const QString &name);

// A picture of the current product in the skin: skinDir() + "/mouse/" + the product name +
// suffix ("/Mouse.png", "_Side.png"). Empty for a product name that is not a plain file name
// (isSafeFileName): the name comes from Config.ini, and "../x" must not lead the window to files
// outside the skin folder.
QString productPicturePath(const QString &suffix);

// True when two profile or file names name the same file: ignoring case where the file system
// does (Windows), exactly elsewhere. Every "is this name taken" check goes through it.
bool sameFileName(const QString &a, const QString &b);

} // namespace mc
