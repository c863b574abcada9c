// The features of the simulated controller: adding one is one line here.

#include "sim/BlockFeature.h"
#include "sim/DeadZoneFeature.h"
#include "sim/DiagnosticsFeature.h"
#include "sim/FaultFeature.h"
#include "sim/GainTestFeature.h"
#include "sim/InfoFeature.h"
#include "sim/JDInterfaceFeature.h"
#include "sim/LoggingFeature.h"
#include "sim/OverrideFeature.h"
#include "sim/ParamFeature.h"
#include "sim/PumpFeature.h"
#include "sim/RadioFeature.h"
#include "sim/StatusFeature.h"
#include "sim/SteerSensorFeature.h"
#include "sim/TrackSteeringFeature.h"
#include "sim/VehicleFeature.h"
#include "sim/VehicleTypeFeature.h"

namespace halcyra::sim {

namespace {

template <typename F> SimFeatureKind Kind()
{
    return {F::Options(), [](const SimSettings& settings) -> std::unique_ptr<CSimFeature> {
                return std::make_unique<F>(settings);
            }};
}

} // namespace

const std::vector<SimFeatureKind>& SimFeatureKinds()
{
    static const std::vector<SimFeatureKind> kinds = {
        Kind<CStatusFeature>(), Kind<CParamFeature>(), Kind<CInfoFeature>(),
        Kind<CBlockFeature>(),  Kind<CFaultFeature>(),
        Kind<CLoggingFeature>(),
        Kind<CSteerSensorFeature>(), Kind<CDeadZoneFeature>(), Kind<CGainTestFeature>(),
        Kind<CVehicleFeature>(), Kind<CRadioFeature>(),
        Kind<CDiagnosticsFeature>(),
        Kind<CVehicleTypeFeature>(), Kind<CTrackSteeringFeature>(), Kind<CPumpFeature>(),
        Kind<COverrideFeature>(), Kind<CJDInterfaceFeature>(),
    };
    return kinds;
}

const CSimOption* FindFeatureOption(std::string_view name)
{
    for (const SimFeatureKind& kind : SimFeatureKinds())
        for (const CSimOption* option : kind.options)
            if (option->Name() == name)
                return option;
    return nullptr;
}

} // namespace halcyra::sim
