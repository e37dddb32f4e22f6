// A command line the command cannot use; the message says what is wrong.
#pragma once

#include <QString>

namespace cli {

struct UsageError {
    QString message;
};

}  // namespace cli
