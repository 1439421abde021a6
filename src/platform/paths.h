#pragma once
#include <QString>

namespace kelvor::paths {

// Where the program keeps its files. Every location can be overridden by an
// environment variable (KELVOR_HOME for all of them at once, or
// KELVOR_SETTINGS, KELVOR_WINDIR, KELVOR_DRIVES, KELVOR_PROGRAM_DIR), or by
// configure() in tests and the scenario runner.
struct Locations {
    QString settingsFile; // the per-user settings store
    QString windir;       // WINDIR: per-user scratch folder
    QString drivesRoot;   // drive letter X maps to <drivesRoot>/x
    QString programDir;   // the program's own folder (scripts, export files)
};

Locations current();
void configure(const Locations& locations);
// All four locations below one folder: home/kelvorconfig.ini, home/windir,
// home/drives, home/program.
void configureHome(const QString& home);
// Back to the environment's (or the built-in) locations.
void reset();

// WINDIR without a trailing separator. The folder exists.
QString windir();
// WINDIR & "\" & name, as a native path.
QString scratch(const QString& name);
// The program's own folder (App.Path), existing, no trailing separator.
QString programDir();

// A path as the program writes it ("d:\watch.txt", "C:\Test\", a native
// path, a path upper-cased by the settings) to the native path to use.
// "\" is a separator; drive letters map below the drives root; a doubled
// separator after a root is harmless; existing parts are found without
// regard to letter case. An empty text stays empty.
// "." and ".." are applied as Windows applies them and never climb above the
// root a path starts from: "d:\.." is "d:\". A relative path starts in the
// current folder when that lies in a drive, WINDIR or the program's folder
// (and stays there), else in the program's folder. So a path read from a
// setting or a file never leads outside those; native absolute paths are
// only ever the configured locations and paths chosen in a dialog.
QString resolve(const QString& path);

// A native path as the Windows-style text that dialogs hand to commands
// and settings store ("d:\data\a.txt" for a path below the drives root);
// other native paths come back unchanged.
QString toWindows(const QString& nativePath);

// A path as a message shows it to a person, one way throughout: the
// Windows-style path ("d:\watch.txt", separators "\") for a path the
// program wrote that way or one below the drives root, else the native path
// with native separators. Never a mix of both, whichever way the path was
// put together.
QString shown(const QString& path);
// A message's text with every path in it shown as shown() shows it. A path
// here starts with "/" or a drive letter and "\" or "/" after a blank, a
// punctuation mark or a Chinese character, and runs to the next blank or
// punctuation mark; texts glued to its end ("watch.txt文件！") stay as they
// are. So a folder of the program's own joined with "\" and a name reads
// one way wherever the message was put together.
QString shownInText(const QString& text);

// True for "X:" texts and paths that start with a drive letter.
bool isDrivePath(const QString& path);

} // namespace kelvor::paths
