#include "diagnostics/ui/DiagTrendView.h"

#include "diagnostics/DiagnosticsValues.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace halcyra {

namespace {

constexpr double kFrame = 9;   // the window's colour around the chart
constexpr double kPadding = 4; // inside the chart, around its axes
constexpr double kTick = 5;
constexpr double kGap = 3; // between a tick and its label, a label and the title
constexpr double kLineWidth = 1.5;
const QColor kGridColor(0xe4, 0xe4, 0xe4);
const QColor kAxisColor(0xd0, 0xd0, 0xd0);

QColor ColorOf(DiagQuantity quantity)
{
    switch (quantity) {
    case DiagQuantity::Raw:
        return QColor(0x1f, 0x5f, 0xbf);
    case DiagQuantity::Scaled:
        return QColor(0xc8, 0x50, 0x1e);
    case DiagQuantity::State:
        return QColor(0x2e, 0x8b, 0x3c);
    }
    return Qt::black;
}

// "Raw (volts)": the shown line's label without its colon, and its unit.
QString TitleOf(const DiagPageRow& row, DiagQuantity quantity)
{
    for (const DiagLine& line : row.lines) {
        if (line.quantity != quantity || (quantity == DiagQuantity::State && !line.asText))
            continue;
        QString title = QString::fromLatin1(line.label);
        title.remove(QLatin1Char(':'));
        if (*line.unit != '\0')
            title += QStringLiteral(" (%1)").arg(QString::fromLatin1(line.unit));
        return title;
    }
    return QStringLiteral("State");
}

double Fraction(const TrendScale& scale, double value)
{
    return scale.max > scale.min ? (value - scale.min) / (scale.max - scale.min) : 0.5;
}

double WidestLabel(const QFontMetricsF& metrics, const std::vector<CDiagTrendView::Tick>& ticks)
{
    double widest = 0;
    for (const CDiagTrendView::Tick& tick : ticks)
        widest = std::max(widest, metrics.horizontalAdvance(tick.text));
    return widest;
}

} // namespace

CDiagTrendView::CDiagTrendView(const CDiagPageValues& values, QWidget* parent)
    : QWidget(parent), values_(values), history_(values.Plotted().size())
{
    setObjectName(QStringLiteral("trend"));
    setAttribute(Qt::WA_OpaquePaintEvent);

    const DiagPageRow& row = values.Row();
    for (DiagQuantity quantity : values.Plotted()) {
        // Until a first reading a value's axis runs from 0 to 1.
        Plot plot{quantity, TitleOf(row, quantity), ColorOf(quantity), {}, {0, 1, 0.25}, {}};
        if (quantity == DiagQuantity::State) {
            for (const DiagState& state : row.states)
                plot.levels.push_back(QString::fromLatin1(state.text));
            // Each level on a tick of its own, half a level clear of the edges.
            plot.scale = {-0.5, static_cast<double>(plot.levels.size()) - 0.5, 1};
        }
        plots_.push_back(std::move(plot));
    }
    TakeFont();
    Rescale(CTrendHistory::Clock::now());
}

void CDiagTrendView::Record(CTrendHistory::Clock::time_point when)
{
    std::vector<std::optional<double>> sample;
    for (const Plot& plot : plots_)
        sample.push_back(values_.PlotValue(plot.quantity));
    history_.Add(when, sample);
    Rescale(when);
}

void CDiagTrendView::Clear()
{
    history_.Clear();
    Rescale(CTrendHistory::Clock::now());
}

void CDiagTrendView::Rescale(CTrendHistory::Clock::time_point now)
{
    time_ = TimeScale(history_.Span(now));
    for (std::size_t p = 0; p < plots_.size(); ++p) {
        Plot& plot = plots_[p];
        const bool steps = plot.quantity == DiagQuantity::State;
        plot.data = history_.Lines(p, now, steps);
        // A value's axis keeps its last scale through a stretch without readings.
        if (!steps)
            if (auto range = history_.Range(p, now))
                plot.scale = ValueScale(range->first, range->second);
    }
    Layout();
    Describe(now);
    update();
}

QSize CDiagTrendView::minimumSizeHint() const
{
    const int forAxes = static_cast<int>(std::ceil(2 * (sides_ + 2 * kPadding) + 2 * kFrame)) + 1;
    return {std::max(500, forAxes), 240};
}

void CDiagTrendView::resizeEvent(QResizeEvent* event)
{
    Layout();
    QWidget::resizeEvent(event);
}

void CDiagTrendView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        TakeFont();
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        Layout();
    QWidget::changeEvent(event);
}

// The axes' texts a little smaller than the page's, their titles bold.
void CDiagTrendView::TakeFont()
{
    labelFont_ = font();
    if (font().pointSizeF() > 0)
        labelFont_.setPointSizeF(std::max(6.0, font().pointSizeF() - 0.5));
    // Smoothed: Qt on Windows draws Wine's Tahoma at this size in black
    // and white without the first column of some letters (the "i" of
    // "Active" vanishes); smoothed letters are whole.
    labelFont_.setStyleStrategy(QFont::PreferAntialias);
    titleFont_ = labelFont_;
    titleFont_.setBold(true);
}

CDiagTrendView::Axis CDiagTrendView::TimeAxis() const
{
    Axis axis{QStringLiteral("Seconds ago"), palette().color(QPalette::Text), Qt::BottomEdge, 0, {}, {}};
    for (double seconds : time_.Ticks())
        axis.ticks.push_back({QString::number(seconds, 'f', 0), 0, {}});
    return axis;
}

CDiagTrendView::Axis CDiagTrendView::ValueAxis(const Plot& plot) const
{
    Axis axis{plot.title, plot.color, Qt::LeftEdge, 0, {}, {}};
    if (!plot.levels.empty()) {
        for (const QString& level : plot.levels)
            axis.ticks.push_back({level, 0, {}});
        return axis;
    }
    for (double value : plot.scale.Ticks())
        axis.ticks.push_back({QString::asprintf("%.4g", value), 0, {}});
    return axis;
}

// How far an axis reaches out from the plot: ticks, labels and title.
double CDiagTrendView::Breadth(const Axis& axis) const
{
    const QFontMetricsF labels(labelFont_);
    const QFontMetricsF title(titleFont_);
    const double across = axis.edge == Qt::BottomEdge ? labels.height() : WidestLabel(labels, axis.ticks);
    return kTick + kGap + across + kGap + title.height();
}

void CDiagTrendView::Layout()
{
    chart_ = QRectF(rect()).adjusted(kFrame, kFrame, -kFrame, -kFrame);
    const QRectF inner = chart_.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    axes_.assign(1, TimeAxis());
    for (const Plot& plot : plots_)
        axes_.push_back(ValueAxis(plot));

    // The first value's axis on the left, the others outwards on the right;
    // the time axis's end labels reach past the plot.
    const QFontMetricsF labels(labelFont_);
    double left = labels.horizontalAdvance(axes_[0].ticks.front().text) / 2;
    double right = labels.horizontalAdvance(axes_[0].ticks.back().text) / 2;
    double rightAxes = 0;
    for (std::size_t a = 1; a < axes_.size(); ++a) {
        axes_[a].edge = a == 1 ? Qt::LeftEdge : Qt::RightEdge;
        if (a == 1)
            left = std::max(left, Breadth(axes_[a]));
        else
            rightAxes += Breadth(axes_[a]);
    }
    right = std::max(right, rightAxes);
    if (left + right != sides_) {
        sides_ = left + right;
        updateGeometry();
    }
    // A value's top label sits on the plot's edge; a state's levels stay clear of it.
    const bool valueAxis = std::any_of(plots_.begin(), plots_.end(), [](const Plot& p) { return p.levels.empty(); });
    const double top = valueAxis ? labels.height() / 2 : 0;
    const double bottom = Breadth(axes_[0]);
    plotArea_ = QRectF(QPointF(std::round(inner.left() + left), std::round(inner.top() + top)),
                       QPointF(std::round(inner.right() - right), std::round(inner.bottom() - bottom)));

    PlaceTimeAxis(axes_[0]);
    double line = plotArea_.right();
    for (std::size_t a = 1; a < axes_.size(); ++a) {
        const bool onLeft = axes_[a].edge == Qt::LeftEdge;
        PlaceValueAxis(axes_[a], plots_[a - 1], onLeft ? plotArea_.left() : line);
        if (!onLeft)
            line += Breadth(axes_[a]);
    }

    lines_.assign(plots_.size(), {});
    for (std::size_t p = 0; p < plots_.size(); ++p)
        for (const TrendLine& stretch : plots_[p].data) {
            QPolygonF& polyline = lines_[p].emplace_back();
            for (const TrendPoint& point : stretch)
                polyline.append(Map(plots_[p], point));
        }
}

void CDiagTrendView::PlaceTimeAxis(Axis& axis) const
{
    const QFontMetricsF labels(labelFont_);
    const QFontMetricsF title(titleFont_);
    axis.line = plotArea_.bottom();
    const std::vector<double> seconds = time_.Ticks();
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        Tick& tick = axis.ticks[i];
        tick.at = plotArea_.left() + Fraction(time_, seconds[i]) * plotArea_.width();
        const double width = labels.horizontalAdvance(tick.text);
        tick.label = QRectF(tick.at - width / 2, axis.line + kTick + kGap, width, labels.height());
    }
    const double width = title.horizontalAdvance(axis.title);
    axis.titleRect = QRectF(plotArea_.center().x() - width / 2, axis.line + kTick + kGap + labels.height() + kGap,
                            width, title.height());
}

void CDiagTrendView::PlaceValueAxis(Axis& axis, const Plot& plot, double line) const
{
    const QFontMetricsF labels(labelFont_);
    const QFontMetricsF title(titleFont_);
    const bool left = axis.edge == Qt::LeftEdge;
    axis.line = line;
    const std::vector<double> values = plot.levels.empty() ? plot.scale.Ticks() : std::vector<double>{};
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        Tick& tick = axis.ticks[i];
        const double value = plot.levels.empty() ? values[i] : static_cast<double>(i);
        tick.at = plotArea_.bottom() - Fraction(plot.scale, value) * plotArea_.height();
        const double width = labels.horizontalAdvance(tick.text);
        const double x = left ? line - kTick - kGap - width : line + kTick + kGap;
        tick.label = QRectF(x, tick.at - labels.height() / 2, width, labels.height());
    }
    // Turned to read upwards: as wide as the font is high.
    const double length = title.horizontalAdvance(axis.title);
    const double breadth = Breadth(axis);
    const double x = left ? line - breadth : line + breadth - title.height();
    axis.titleRect = QRectF(x, plotArea_.center().y() - length / 2, title.height(), length);
}

QPointF CDiagTrendView::Map(const Plot& plot, const TrendPoint& point) const
{
    return {plotArea_.left() + Fraction(time_, point.seconds) * plotArea_.width(),
            plotArea_.bottom() - Fraction(plot.scale, point.value) * plotArea_.height()};
}

void CDiagTrendView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.fillRect(chart_, palette().base());
    painter.setPen(QPen(kGridColor, 1));
    for (const Axis& axis : axes_)
        for (const Tick& tick : axis.ticks)
            painter.drawLine(axis.edge == Qt::BottomEdge
                                 ? QLineF(tick.at, plotArea_.top(), tick.at, plotArea_.bottom())
                                 : QLineF(plotArea_.left(), tick.at, plotArea_.right(), tick.at));
    for (const Axis& axis : axes_)
        DrawAxis(painter, axis);
    DrawLines(painter);
}

void CDiagTrendView::DrawAxis(QPainter& painter, const Axis& axis) const
{
    painter.setPen(QPen(kAxisColor, 1));
    const bool time = axis.edge == Qt::BottomEdge;
    painter.drawLine(time ? QLineF(plotArea_.left(), axis.line, plotArea_.right(), axis.line)
                          : QLineF(axis.line, plotArea_.top(), axis.line, plotArea_.bottom()));
    const double out = axis.edge == Qt::LeftEdge ? -kTick : kTick;
    for (const Tick& tick : axis.ticks)
        painter.drawLine(time ? QLineF(tick.at, axis.line, tick.at, axis.line + kTick)
                              : QLineF(axis.line, tick.at, axis.line + out, tick.at));

    painter.setPen(axis.color);
    painter.setFont(labelFont_);
    for (const Tick& tick : axis.ticks)
        painter.drawText(tick.label, Qt::AlignCenter, tick.text);
    painter.setFont(titleFont_);
    if (time) {
        painter.drawText(axis.titleRect, Qt::AlignCenter, axis.title);
        return;
    }
    painter.save();
    painter.translate(axis.titleRect.center());
    painter.rotate(-90);
    const QSizeF upright(axis.titleRect.height(), axis.titleRect.width());
    painter.drawText(QRectF(QPointF(-upright.width() / 2, -upright.height() / 2), upright), Qt::AlignCenter,
                     axis.title);
    painter.restore();
}

void CDiagTrendView::DrawLines(QPainter& painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(plotArea_);
    for (std::size_t p = 0; p < plots_.size(); ++p) {
        painter.setPen(QPen(plots_[p].color, kLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const QPolygonF& line : lines_[p])
            painter.drawPolyline(line);
        // A reading between two failed polls has no line: it shows as a dot.
        painter.setBrush(plots_[p].color);
        for (const QPolygonF& line : lines_[p])
            if (line.size() == 1)
                painter.drawEllipse(line.front(), kLineWidth, kLineWidth);
        painter.setBrush(Qt::NoBrush);
    }
}

void CDiagTrendView::Describe(CTrendHistory::Clock::time_point now)
{
    // What the screen listing says of the trend.
    QStringList titles;
    for (const Plot& plot : plots_)
        titles << plot.title;
    const QString value = QStringLiteral("%1 polls over %2 s")
                              .arg(history_.Samples())
                              .arg(QString::number(history_.Span(now), 'f', 1));
    setProperty("listing", QStringList{QStringLiteral("trend"), titles.join(QStringLiteral(", ")), value});
}

} // namespace halcyra
