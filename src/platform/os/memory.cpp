#include "platform/os/memory.h"

#include <malloc.h>

namespace platform::os {

void TrimWorkingSet() { malloc_trim(0); }

}  // namespace platform::os
