#pragma once
// Controller identity (message 64): firmware and unit information, and the
// answers to the compatibility queries.

#include "sim/SimFeature.h"

#include <array>
#include <cstdint>
#include <string>

namespace halcyra::sim {

class CInfoFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CInfoFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;

private:
    std::uint16_t firmwareVersion_;
    SimDate firmwareDate_;
    std::string serial_;
    OptionIndexes installed_;
    std::array<std::uint8_t, 3> compatibility_; // queries A, B and C
};

} // namespace halcyra::sim
