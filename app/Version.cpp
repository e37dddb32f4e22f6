#include "app/Version.h"

namespace app {

namespace {
QString numberText(const Version& v)
{
    return QStringLiteral("%1.%2%3").arg(v.major).arg(v.minor).arg(v.revision);
}
}  // namespace

Version programVersion()
{
    return Version{ORVANE_VERSION_MAJOR, ORVANE_VERSION_MINOR, ORVANE_VERSION_REVISION};
}

QString splashVersionText(const Version& v)
{
    return QStringLiteral("Version ") + numberText(v);
}
QString aboutVersionText(const Version& v)
{
    return QStringLiteral("v. ") + numberText(v);
}

}  // namespace app
