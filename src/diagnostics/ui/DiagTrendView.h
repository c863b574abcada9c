#pragma once
// The trend under a diagnostics page's values: what the page's polls read
// over the last minute, one line per value shown (a state as steps between
// its named levels), each against an axis of its own. It reads nothing
// itself; a poll that read nothing leaves a gap. It is drawn again only
// when a poll arrives: its time axis counts back from the latest one.

#include "diagnostics/DiagnosticsPages.h"
#include "diagnostics/Trend.h"

#include <QColor>
#include <QFont>
#include <QPolygonF>
#include <QRectF>
#include <QWidget>

#include <vector>

class QPainter;

namespace halcyra {

class CDiagPageValues;

class CDiagTrendView : public QWidget {
    Q_OBJECT

public:
    explicit CDiagTrendView(const CDiagPageValues& values, QWidget* parent = nullptr);

    // Adds what the page shows now, as read at when, and redraws.
    void Record(CTrendHistory::Clock::time_point when);
    void Clear();

    const CTrendHistory& History() const { return history_; }

    // What the view draws, in its own coordinates.
    struct Tick {
        QString text;
        double at; // x on the time axis, y on a value's axis
        QRectF label;
    };
    struct Axis {
        QString title;
        QColor color;
        Qt::Edge edge;
        double line; // where the axis runs: y of the time axis, x of the others
        std::vector<Tick> ticks;
        QRectF titleRect; // on a value's axis the title reads upwards: a tall box
    };
    QRectF ChartRect() const { return chart_; }
    QRectF PlotArea() const { return plotArea_; }
    // The time axis first, then one axis per plotted value in the page's order.
    const std::vector<Axis>& Axes() const { return axes_; }
    // Each plotted value's lines, in the page's order; a gap separates them.
    const std::vector<std::vector<QPolygonF>>& Lines() const { return lines_; }
    // Wide enough that the axes, however wide the font draws their labels,
    // take no more than half of the chart.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Plot {
        DiagQuantity quantity;
        QString title;
        QColor color;
        std::vector<QString> levels; // a state's texts, lowest first
        TrendScale scale;            // a state's runs half a level past its ends
        std::vector<TrendLine> data; // as of the latest poll
    };

    void TakeFont();
    void Rescale(CTrendHistory::Clock::time_point now);
    void Layout();
    Axis TimeAxis() const;
    Axis ValueAxis(const Plot& plot) const;
    double Breadth(const Axis& axis) const;
    void PlaceTimeAxis(Axis& axis) const;
    void PlaceValueAxis(Axis& axis, const Plot& plot, double line) const;
    QPointF Map(const Plot& plot, const TrendPoint& point) const;
    void DrawAxis(QPainter& painter, const Axis& axis) const;
    void DrawLines(QPainter& painter) const;
    void Describe(CTrendHistory::Clock::time_point now);

    const CDiagPageValues& values_;
    CTrendHistory history_;
    TrendScale time_;
    std::vector<Plot> plots_;
    QFont labelFont_;
    QFont titleFont_;

    // Laid out from the above whenever they or the size change.
    QRectF chart_;
    QRectF plotArea_;
    std::vector<Axis> axes_;
    std::vector<std::vector<QPolygonF>> lines_;
    double sides_ = 0; // the axes' breadth left and right of the plot
};

} // namespace halcyra
