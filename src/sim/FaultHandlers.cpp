#include "sim/SimController.h"

namespace halcyra::sim {

void RegisterFaultHandlers(CSimController&) {}

} // namespace halcyra::sim
