#include "calibration/CalProcedure.h"

namespace halcyra {

CCalProcedure::CCalProcedure(CPageContext& context) : context_(context), poll_(context) {}

CControllerLink& CCalProcedure::Link() const { return context_.link; }

void CCalProcedure::StartPolling(std::chrono::milliseconds period)
{
    poll_.Start(period, [this] {
        const bool succeeded = Poll();
        Changed();
        return succeeded;
    });
}

void CCalProcedure::Changed()
{
    if (onChanged)
        onChanged();
}

} // namespace halcyra
