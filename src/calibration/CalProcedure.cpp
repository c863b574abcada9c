#include "calibration/CalProcedure.h"

namespace halcyra {

CCalProcedure::CCalProcedure(CPageContext& context) : context_(context), poll_(context) {}

CControllerLink& CCalProcedure::Link() const { return context_.link; }

void CCalProcedure::StartPolling()
{
    poll_.Start(kPollPeriod, [this] {
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
