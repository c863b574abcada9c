#pragma once
// Periodic ticks from QTimer, on the user-interface thread.

#include "pages/Timer.h"

#include <map>
#include <memory>

class QTimer;

namespace halcyra {

class CQtTimerSource final : public ITimerSource {
public:
    CQtTimerSource();
    ~CQtTimerSource() override;
    int StartTimer(std::chrono::milliseconds period, TickHandler tick) override;
    void StopTimer(int id) override;

private:
    std::map<int, QTimer*> timers_;
    int nextId_ = 1;
};

} // namespace halcyra
