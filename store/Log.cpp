#include "store/Log.h"

Q_LOGGING_CATEGORY(orvaneLog, "orvane", QtWarningMsg)

namespace store {

void logIgnored(const char* what, const StoreError& error)
{
    qCWarning(orvaneLog).noquote() << what << "failed:" << error.description()
                                   << QStringLiteral("(error %1)").arg(error.number());
}

}  // namespace store
