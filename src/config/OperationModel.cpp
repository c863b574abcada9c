#include "config/OperationModel.h"

#include "link/Format.h"

namespace halcyra {

COperationModel::COperationModel(CPageLogic& logic)
    : endOfRow("wre", &logic.params), alertTimeout("oss", &logic.params), swathChangeover("scp", &logic.params)
{
    endOfRow.SetRange(&kEndOfRowRanges);
}

float COperationModel::ShownAlertTimeout() const
{
    for (float seconds : kAlertTimeouts)
        if (alertTimeout.value == seconds)
            return seconds;
    return kAlertTimeouts[0];
}

PageFields COperationModel::Fields()
{
    std::vector<FieldChoice> timeouts;
    for (float seconds : kAlertTimeouts)
        timeouts.push_back({Format("%.0f min", static_cast<double>(seconds / 60.0f)), static_cast<int>(seconds)});
    return {
        field::EditSpin("endOfRow", "End Of Row Alarm Distance:", CFieldValue::Number(endOfRow), 1)
            .LengthRanges(kEndOfRowRanges),
        field::ComboData("alertTimeout", "Operator Alert Timeout:",
                         CFieldValue::Computed([this] { return static_cast<double>(ShownAlertTimeout()); },
                                               [this](double seconds) { alertTimeout.value = static_cast<float>(seconds); })
                             .From(alertTimeout),
                         timeouts),
        field::Combo("swathChangeover", "Swath Changeover At:", CFieldValue::Number(swathChangeover),
                     {{"GPS Antenna"}, {"Tractor Nose"}}),
    };
}

void COperationModel::BeforeLeave() { alertTimeout.value = ShownAlertTimeout(); }

} // namespace halcyra
