#include "pages/SerialGuard.h"

#include <string>

namespace halcyra {

void ReportSerialFailure(INotifier& notifier, const CSerialException& e)
{
    notifier.Notify(std::string("Error: ") + e.what(), "Error", MsgButtons::Ok, MsgIcon::Stop);
}

} // namespace halcyra
