// The connection check on the wire: the status request, the firmware
// information and the three compatibility queries, in the order the check
// sends them, with the bytes written out by hand.

#include "MessageBytes.h"
#include "app/ConnectionCheck.h"

using namespace halcyra;
using namespace halcyra::test;

namespace {

class AppMessageBytes : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(AppMessageBytes, MatchTheTable) { CheckExchangeCase(GetParam()); }

// Runs the check; tells its result and the captions of the boxes it showed.
std::string Check(CControllerLink& link)
{
    std::string result = Values(CheckHalcyraComms(link, true));
    for (const ShownBox& box : dynamic_cast<CRecordingNotifier&>(link.Notifier()).shown)
        result += " [" + box.caption + "]";
    return result;
}

const std::vector<std::string> kAllRequests = {"BE 46 00 00", "BE 40 00 00", "BE 40 00 03", "BE 40 01 03",
                                               "BE 40 05 03"};

INSTANTIATE_TEST_SUITE_P(
    ConnectionCheck, AppMessageBytes,
    ::testing::Values(
        ExchangeCase{"CurrentCompatibleController",
                     Check,
                     {"BF 46 00 00 | 01 00", "BF 40 00 00 | 00 64 00*118", "BF 40 00 03 | 01", "BF 40 01 03 | 01",
                      "BF 40 05 03 | 01"},
                     kAllRequests,
                     "1"},
        ExchangeCase{"StatusWithThreeBytesAndOldFirmware",
                     Check,
                     {"BF 46 00 00 | 02 00 01", "BF 40 00 00 | 00 63 00*118"},
                     {"BE 46 00 00", "BE 40 00 00"},
                     "0 [Error: Upgrade Firmware]"},
        ExchangeCase{"IncompatibleAnswerToTheSecondQuery",
                     Check,
                     {"BF 46 00 00 | 01 00", "BF 40 00 00 | 01 1E 00*118", "BF 40 00 03 | 01", "BF 40 01 03 | 00",
                      "BF 40 05 03 | 01"},
                     kAllRequests,
                     "0 [Version Error]"}),
    ExchangeName);

} // namespace
