// The one failure type of the import and export code: a message in the program's own
// words, ready to be shown to the user or printed by the command-line tool.
#pragma once

#include "store/StoreError.h"

#include <QString>

#include <stdexcept>

namespace exchange {

class ExchangeError : public std::runtime_error {
public:
    explicit ExchangeError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Runs work that writes through the store (its safe output files) and says a store failure as
// the exchange's own.
template <typename Work>
void sayingStoreFailures(Work work)
{
    try {
        work();
    } catch (const store::StoreError& e) {
        throw ExchangeError(e.description());
    }
}

}  // namespace exchange
