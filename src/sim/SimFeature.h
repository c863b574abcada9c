#pragma once
// One feature of the simulated controller (status, parameters, identity,
// data blocks, faults...): it answers its own messages from state it owns,
// reads its own options and moves on with time.
//
// A new feature:
//   class CThingFeature final : public CSimFeature {
//   public:
//       static std::vector<const CSimOption*> Options();   // its TSimOption declarations
//       explicit CThingFeature(const SimSettings& settings); // reads them with option.From(settings)
//       void Register(CSimController& sim) override;       // sim.On(id, sub, op, handler) per message
//       void Tick(Clock::time_point now) override;         // when something runs in time
//   };
// and one line in SimFeatureKinds() (SimFeatures.cpp).

#include "sim/SimOption.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace halcyra::sim {

using Clock = std::chrono::steady_clock;
class CSimController;

class CSimFeature {
public:
    virtual ~CSimFeature() = default;
    // Adds the feature's message handlers to the controller.
    virtual void Register(CSimController& sim) = 0;
    // The controller's time has moved on to now: called on every periodic
    // tick and before each request is handled, never with an earlier time.
    virtual void Tick(Clock::time_point /*now*/) {}
};

// A feature as known before any controller exists: its options (the command
// line is checked against them) and how to make one.
struct SimFeatureKind {
    std::vector<const CSimOption*> options;
    std::function<std::unique_ptr<CSimFeature>(const SimSettings&)> make;
};

// Every feature of the simulated controller, in the order they register.
const std::vector<SimFeatureKind>& SimFeatureKinds();
// The options of every feature; null when name is none of them.
const CSimOption* FindFeatureOption(std::string_view name);

} // namespace halcyra::sim
