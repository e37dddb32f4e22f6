#include "shell/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initOrvaneResources()
{
    Q_INIT_RESOURCE(orvane_shell);
}

namespace shell {

void ensureResources()
{
    static const bool done = (initOrvaneResources(), true);
    Q_UNUSED(done);
}

}  // namespace shell
