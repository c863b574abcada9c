#pragma once
// The trend under a diagnostics page's values: what the page's polls read
// over the last minute, one line per value shown (a state as steps between
// its named levels), each against an axis of its own. It reads nothing
// itself; a poll that read nothing leaves a gap.

#include "diagnostics/DiagnosticsPages.h"
#include "diagnostics/Trend.h"

#include <QChartView>
#include <QColor>

#include <vector>

class QAbstractAxis;
class QChart;
class QLineSeries;
class QValueAxis;

namespace halcyra {

class CDiagPageValues;

class CDiagTrendView : public QChartView {
    Q_OBJECT

public:
    explicit CDiagTrendView(const CDiagPageValues& values, QWidget* parent = nullptr);

    // Adds what the page shows now, as read at when, and redraws.
    void Record(CTrendHistory::Clock::time_point when);
    void Clear();

    const CTrendHistory& History() const { return history_; }
    // The points drawn for each plotted value, in the page's order.
    std::vector<int> DrawnPoints() const;

private:
    struct Plot {
        DiagQuantity quantity;
        QString title;
        QColor color;
        QAbstractAxis* axis = nullptr;
        std::vector<QLineSeries*> lines; // one per stretch without a gap
    };

    void Redraw(CTrendHistory::Clock::time_point now);
    QLineSeries* Line(Plot& plot, std::size_t index);
    void Describe(CTrendHistory::Clock::time_point now);

    const CDiagPageValues& values_;
    CTrendHistory history_;
    QChart* chart_ = nullptr;
    QValueAxis* time_ = nullptr;
    std::vector<Plot> plots_;
};

} // namespace halcyra
