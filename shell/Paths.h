// Where the program finds its files: the program directory, and what lies in it.
#pragma once

#include <QString>

namespace shell {

// The directory of the running program, unless setProgramDirectory() pointed it elsewhere.
QString programDirectory();
// Points the program directory elsewhere (tests) before the program starts; an empty text
// goes back to the directory of the running program.
void setProgramDirectory(const QString& directory);

}  // namespace shell
