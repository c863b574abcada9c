#include "pages/SerialGuard.h"

#include <string>

namespace halcyra {

void ReportSerialFailure(INotifier& notifier, const CSerialException& e)
{
    if (e.Reported())
        return;
    notifier.Notify(std::string("Error: ") + e.what(), "Error", MsgButtons::Ok, MsgIcon::Stop);
}

} // namespace halcyra
