#include "calibration/CalProcedure.h"

#include "pages/PageFields.h"

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

TypedValue ReadTypedValue(const std::string& text, float maximum)
{
    float value = 0;
    const FieldSpec typed = field::Edit("value", "", CFieldValue::Number(value)).Range(0, maximum);
    if (std::optional<std::string> refused = StoreFieldText(typed, text, nullptr))
        return {std::nullopt, *refused};
    return {value, {}};
}

} // namespace halcyra
