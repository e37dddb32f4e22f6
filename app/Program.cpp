#include "app/Program.h"

namespace app {

Program& program()
{
    static Program values;
    return values;
}

}  // namespace app
