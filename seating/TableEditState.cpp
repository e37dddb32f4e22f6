#include "seating/TableEditState.h"

namespace seating {

TableEditState& tableEdit()
{
    static TableEditState state;
    return state;
}

}  // namespace seating
