#include "diagnostics/DiagnosticsValues.h"

#include "link/Framing.h"
#include "link/MessageIds.h"
#include "params/Param.h"
#include "params/ParamSet.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace halcyra {

namespace {

std::int32_t PayloadBytes(const std::vector<DiagSource>& payload)
{
    std::int32_t bytes = 0;
    for (const DiagSource& source : payload)
        bytes += source.type == DiagType::Float ? 4 : 1;
    return bytes;
}

// "Raw:" -> "raw": the control's name.
std::string FieldId(const char* label)
{
    std::string id;
    for (const char* c = label; *c != '\0' && *c != ':'; ++c)
        id.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
    return id;
}

constexpr const char* kUnknownState = "Unknown";

} // namespace

CDiagnosticsMsg::CDiagnosticsMsg(std::uint8_t item, const std::vector<DiagSource>& payload)
    : CControllerMsg(HeaderFamily::SixByte, wire::kDiagnosticsMsg, wire::diagnostics::kSub,
                     wire::diagnostics::kReadOp, PayloadBytes(payload)),
      payload_(payload)
{
    selector1 = item;
    selector2 = wire::diagnostics::kLiveSelector;
}

bool CDiagnosticsMsg::DecodePayload(CRxBuffer& rx)
{
    for (const DiagSource& source : payload_) {
        float number = 0;
        if (source.type == DiagType::Float) {
            rx.PopValue(number);
        } else {
            std::uint8_t byte = 0;
            rx.PopValue(byte);
            number = byte;
            if (source.into == DiagQuantity::State)
                state = byte;
        }
        if (source.into == DiagQuantity::Raw)
            raw = number;
        else if (source.into == DiagQuantity::Scaled)
            scaled = number;
    }
    return true;
}

CDiagPageValues::CDiagPageValues(const DiagPageRow& row, CParamSet* pageParams) : row_(row)
{
    if (row.item) {
        message_ = std::make_unique<CDiagnosticsMsg>(*row.item, row.sources);
        return;
    }
    for (const DiagSource& source : row.sources) {
        if (source.type == DiagType::Float)
            params_.push_back(std::make_unique<CFloatParam>(source.param, pageParams));
        else
            params_.push_back(std::make_unique<CByteParam>(source.param, pageParams));
    }
}

CDiagPageValues::~CDiagPageValues() = default;

bool CDiagPageValues::Refresh(CControllerLink& link)
{
    if (message_) {
        // A port failure leaves the failure values too.
        messageRead_ = false;
        messageRead_ = link.Transact(*message_, transact);
        return messageRead_;
    }
    bool all = true;
    for (const auto& param : params_)
        all = param->Get(link) && all;
    return all;
}

bool CDiagPageValues::HasReading() const
{
    if (message_)
        return messageRead_;
    // A parameter whose last read failed would show an old value as live.
    return std::all_of(params_.begin(), params_.end(), [](const auto& p) { return p->IsRetrieved(); });
}

double CDiagPageValues::Value(DiagQuantity quantity) const
{
    if (!HasReading())
        return 0;
    if (message_) {
        switch (quantity) {
        case DiagQuantity::Raw:
            return message_->raw;
        case DiagQuantity::Scaled:
            return message_->scaled;
        case DiagQuantity::State:
            return message_->state;
        }
        return 0;
    }
    for (std::size_t i = 0; i < params_.size(); ++i) {
        if (row_.sources[i].into != quantity)
            continue;
        if (const auto* number = dynamic_cast<const CFloatParam*>(params_[i].get()))
            return number->value;
        return static_cast<const CUIntParam&>(*params_[i]).value;
    }
    return 0;
}

std::string CDiagPageValues::StateText() const
{
    if (!HasReading())
        return kUnknownState;
    return DiagStateText(row_, static_cast<std::uint32_t>(Value(DiagQuantity::State)));
}

PageFields CDiagPageValues::Fields() const
{
    PageFields fields;
    for (const DiagLine& line : row_.lines) {
        if (line.asText) {
            fields.push_back(field::ReadOnly(FieldId(line.label), line.label,
                                             CFieldValue::ComputedText([this] { return StateText(); })));
            continue;
        }
        FieldSpec number = field::ReadOnly(FieldId(line.label), line.label,
                                           CFieldValue::Computed([this, q = line.quantity] { return Value(q); }));
        if (*line.unit != '\0')
            number.Unit(line.unit);
        fields.push_back(std::move(number));
    }
    return fields;
}

std::string CDiagPageValues::LineText() const
{
    std::string text;
    for (const FieldSpec& field : Fields()) {
        if (!text.empty())
            text += '\t';
        text += field.label + " " + FieldText(field);
    }
    return text;
}

std::vector<DiagQuantity> CDiagPageValues::Plotted() const
{
    std::vector<DiagQuantity> plotted;
    for (DiagQuantity quantity : {DiagQuantity::Raw, DiagQuantity::Scaled, DiagQuantity::State})
        if (std::any_of(row_.lines.begin(), row_.lines.end(),
                        [quantity](const DiagLine& line) { return line.quantity == quantity; }))
            plotted.push_back(quantity);
    return plotted;
}

std::optional<double> CDiagPageValues::PlotValue(DiagQuantity quantity) const
{
    if (!HasReading())
        return std::nullopt;
    if (quantity == DiagQuantity::State)
        return DiagStateLevel(row_, static_cast<std::uint32_t>(Value(DiagQuantity::State)));
    const double value = Value(quantity);
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace halcyra
