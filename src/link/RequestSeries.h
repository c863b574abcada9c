#pragma once
// Requests made one after another where each may fail on its own: the
// entries of a list, a row of parameters. The first failed exchange of an
// outage shows the transaction's error box; exchanges that fail right after
// it stay quiet until one is answered again. So one damaged entry costs one
// box and is passed over, and a controller that has stopped answering costs
// one box, not one per request left.

#include <functional>

namespace halcyra {

class CControllerLink;

class CRequestSeries {
public:
    explicit CRequestSeries(CControllerLink& link) : link_(link) {}

    // Runs request, which returns true when it succeeded.
    bool Run(const std::function<bool()>& request);

    // Two exchanges in a row went unanswered: what follows would fail too.
    bool StoppedAnswering() const { return unansweredInARow_ >= 2; }
    bool AnyFailed() const { return anyFailed_; }

private:
    CControllerLink& link_;
    int unansweredInARow_ = 0;
    bool anyFailed_ = false;
};

} // namespace halcyra
