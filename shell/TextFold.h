// Texts as people compare them: blind to case and accents ("Chloé" and "CHLOE" are the same),
// shared by the guest search and the import's duplicate keys.
#pragma once

#include <QString>

namespace shell {

// Accents off, case folded, every character that is neither a letter nor a digit a blank:
// "Dr. Chloé O'Brien-Smith" -> "dr  chloe o brien smith".
QString plainText(const QString& text);

// plainText without the blanks: what a search compares, so that "obrien", "O'Brien" and
// "o brien" all find "O'Brien" ("Dr. Chloé" -> "drchloe").
QString searchKey(const QString& text);

}  // namespace shell
