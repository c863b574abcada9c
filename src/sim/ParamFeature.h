#pragma once
// Named parameters (message 64, sub-code 0x14): gets and sets on the
// controller's parameter store.

#include "sim/SimFeature.h"

namespace halcyra::sim {

class CParamFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options() { return {}; }
    explicit CParamFeature(const SimSettings&) {}
    void Register(CSimController& sim) override;
};

} // namespace halcyra::sim
