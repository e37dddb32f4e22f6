// Where the program finds and keeps its files. This is the one place that builds a path.
//
// Two layouts:
// - Portable: the program directory holds a writable wedding.mdb. Everything lies beside the
//   program: the wedding file, the help file, the report templates, the compaction's
//   temporary file and the backups.
// - Installed: the program directory has no writable wedding.mdb, and the installed data
//   folder (../share/orvane from the program) holds the delivered one. The wedding file lives
//   in the user's data folder (~/.local/share/Orvane), copied there from the delivered file on
//   the first start; the temporary file and the backups go beside it; help and templates are
//   read from the installed data folder.
// When neither holds a wedding file the layout is portable, so the program reports the missing
// file beside itself.
#pragma once

#include <QString>

namespace shell {

// The directory of the running program, unless setProgramDirectory() pointed it elsewhere.
QString programDirectory();
// Points the program directory elsewhere (tests) before the program starts; an empty text
// goes back to the directory of the running program.
void setProgramDirectory(const QString& directory);

enum class Layout { Portable, Installed };
// Decided afresh from the files present (two file look-ups).
Layout layout();

// The installed data folder: help, templates and the delivered wedding file.
QString installedDataDirectory();
// The user's own data folder (XDG data home + "/Orvane").
QString userDataDirectory();

// The folder holding the wedding file; the temporary file and backups are made here.
QString dataDirectory();
// The wedding file.
QString weddingFilePath();
// The compaction's temporary file, beside the wedding file.
QString compactTempPath();
// The folder of the help file and the report templates.
QString resourceDirectory();
QString helpFilePath();
// A report or label template by file name ("guests.rpt").
QString templatePath(const QString& templateName);
// A module of the program by name ("orvane_audio"), without its suffix, as QLibrary takes
// it: the installed module folder when the module lies there, else beside the program.
// Modules belong to the program, not to the data, so they are found from the running
// program (or the folder setModuleDirectory() names: tests, whose programs lie elsewhere).
QString modulePath(const QString& name);
void setModuleDirectory(const QString& directory);
// The audio output module, always the running program's own.
QString audioModulePath();

// Installed layout: makes the user's data folder and, when it holds no wedding file yet,
// copies the delivered one there (written completely under a temporary name first, then
// renamed, so an interrupted first start never leaves half a file). Portable: does nothing.
// Throws store::StoreError (3043) naming the file when the copy fails.
void prepareWeddingFile();

}  // namespace shell
