#pragma once
// The base of the calibration procedures: a calibration is a state machine
// without widgets that polls the controller on the page context's ticks.
// Its page binds the state to controls and tells the procedure what the
// user pressed; onChanged tells the page to show the state again.

#include "pages/PageContext.h"
#include "pages/Poll.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace halcyra {

class CControllerLink;

class CCalProcedure {
public:
    explicit CCalProcedure(CPageContext& context);
    virtual ~CCalProcedure() = default;
    CCalProcedure(const CCalProcedure&) = delete;
    CCalProcedure& operator=(const CCalProcedure&) = delete;

    // Called whenever what the page shows has changed.
    std::function<void()> onChanged;

    bool IsPolling() const { return poll_.IsRunning(); }
    // A failed poll has been reported and no poll has succeeded since.
    bool InOutage() const { return poll_.InOutage(); }
    // One poll now, as the next tick would run it.
    bool PollNow() { return poll_.IsRunning() && poll_.PollNow(); }
    // Stops the ticks, as when the page's window goes.
    void StopPolling() { poll_.Stop(); }

protected:
    // Polls every period (250 ms unless said) until StopPolling; a failed
    // poll shows one box per outage.
    void StartPolling(std::chrono::milliseconds period = kPollPeriod);
    // The box an outage shows instead of the transaction error box.
    void SetOutageBox(std::string text, std::string caption) { poll_.SetOutageBox(std::move(text), std::move(caption)); }
    // One poll of the controller; true when its exchanges succeeded.
    virtual bool Poll() = 0;
    void Changed();

    CControllerLink& Link() const;
    CPageContext& context_;

private:
    CPoll poll_;
};

// A number typed into a calibration's field (0 to maximum): the value, or
// the field's range message when it is refused.
struct TypedValue {
    std::optional<float> value;
    std::string refusal;
};
TypedValue ReadTypedValue(const std::string& text, float maximum);

} // namespace halcyra
