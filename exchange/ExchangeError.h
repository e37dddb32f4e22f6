// The one failure type of the import and export code: a message in the program's own
// words, ready to be shown to the user or printed by the command-line tool.
#pragma once

#include "store/StoreError.h"
#include "store/WordedError.h"

namespace exchange {

class ExchangeError : public store::WordedError {
public:
    using WordedError::WordedError;
    const QString& message() const { return description(); }
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
