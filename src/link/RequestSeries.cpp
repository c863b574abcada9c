#include "link/RequestSeries.h"

#include "link/ControllerLink.h"

#include <optional>

namespace halcyra {

bool CRequestSeries::Run(const std::function<bool()>& request)
{
    const int errorsBefore = link_.TransactionErrors();
    bool succeeded = false;
    {
        // The outage has had its box.
        std::optional<CControllerLink::CQuietErrors> quiet;
        if (unansweredInARow_ > 0)
            quiet.emplace(link_);
        succeeded = request();
    }
    anyFailed_ = anyFailed_ || !succeeded;
    // A refusal is an answer: only exchanges that failed make an outage.
    if (link_.TransactionErrors() > errorsBefore)
        ++unansweredInARow_;
    else
        unansweredInARow_ = 0;
    return succeeded;
}

} // namespace halcyra
