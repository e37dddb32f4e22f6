// The version texts of the splash and about windows: major "." minor revision, with no
// separator between minor and revision (1, 0, 5 -> "1.05").
#pragma once

#include <QString>

namespace app {

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version this program was built as.
Version programVersion();

QString splashVersionText(const Version& v);  // "Version 1.05"
QString aboutVersionText(const Version& v);   // "v. 1.05"

}  // namespace app
