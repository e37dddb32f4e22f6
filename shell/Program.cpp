#include "shell/Program.h"

namespace shell {

Program& program()
{
    static Program values;
    return values;
}

}  // namespace shell
