#include "sim/SimController.h"

namespace halcyra::sim {

void RegisterBlockHandlers(CSimController&) {}

} // namespace halcyra::sim
