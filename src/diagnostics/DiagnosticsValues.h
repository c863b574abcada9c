#pragma once
// The live values of one diagnostics page: the diagnostics message that
// reads an item, or the page's parameters, polled again and again, and the
// texts and numbers the page shows from them.

#include "diagnostics/DiagnosticsPages.h"
#include "link/ControllerLink.h"
#include "pages/PageFields.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace halcyra {

class CParamSet;

// One reading of an item (message 0x4C, six-byte header): the item code in
// selector 1, the live-reading selector in selector 2, no request payload.
// The reply's payload is laid out as the page's row says.
class CDiagnosticsMsg final : public CControllerMsg {
public:
    CDiagnosticsMsg(std::uint8_t item, const std::vector<DiagSource>& payload);
    bool DecodePayload(CRxBuffer& rx) override;

    float raw = 0;
    float scaled = 0;
    std::uint32_t state = 0;

private:
    const std::vector<DiagSource>& payload_;
};

class CDiagPageValues {
public:
    // A page that reads parameters adds them to pageParams, when given, so
    // the page's activation reads them too.
    explicit CDiagPageValues(const DiagPageRow& row, CParamSet* pageParams = nullptr);
    ~CDiagPageValues();
    CDiagPageValues(const CDiagPageValues&) = delete;
    CDiagPageValues& operator=(const CDiagPageValues&) = delete;

    const DiagPageRow& Row() const { return row_; }

    // One poll: the page's message, or each of its parameters. True when
    // everything was read; otherwise the page shows 0 and "Unknown".
    bool Refresh(CControllerLink& link);
    // Whether the values shown come from a reading.
    bool HasReading() const;
    // Back to no reading of the message, as a newly opened page shows.
    void Forget() { messageRead_ = false; }

    double Value(DiagQuantity quantity) const;
    std::string StateText() const;
    // The shown lines as described fields, bound to these values.
    PageFields Fields() const;
    // The shown lines as the command line prints them: "Label: text", tab-separated.
    std::string LineText() const;

    // What a trend plots: each quantity the page shows, once, numbers first.
    std::vector<DiagQuantity> Plotted() const;
    // A plotted quantity's value now (a state as its level); nothing without a reading.
    std::optional<double> PlotValue(DiagQuantity quantity) const;

    // How the message is transacted (tests shorten the waits).
    TransactOptions transact;

private:
    const DiagPageRow& row_;
    std::unique_ptr<CDiagnosticsMsg> message_;
    std::vector<std::unique_ptr<CParam>> params_;
    bool messageRead_ = false;
};

} // namespace halcyra
