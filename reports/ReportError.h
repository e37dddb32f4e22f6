// The one kind of failure of the report engine: a description the window shows as it is.
#pragma once

#include "store/WordedError.h"

namespace reports {

class ReportError : public store::WordedError {
public:
    using WordedError::WordedError;
};

}  // namespace reports
