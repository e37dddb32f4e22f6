// The resources compiled into the program (sounds). The core library is static, so the
// resource data must be registered explicitly before the first lookup.
#pragma once

namespace shell {
void ensureResources();
}
