#include "pages/ui/QtTimerSource.h"

#include <QTimer>

namespace halcyra {

CQtTimerSource::CQtTimerSource() = default;

CQtTimerSource::~CQtTimerSource()
{
    for (auto& [id, timer] : timers_)
        delete timer;
}

int CQtTimerSource::StartTimer(std::chrono::milliseconds period, TickHandler tick)
{
    const int id = nextId_++;
    auto* timer = new QTimer;
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, std::move(tick));
    timer->start(period);
    timers_[id] = timer;
    return id;
}

void CQtTimerSource::StopTimer(int id)
{
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    // It may be delivering the tick that stops it.
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

} // namespace halcyra
