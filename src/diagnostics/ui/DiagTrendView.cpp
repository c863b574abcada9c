#include "diagnostics/ui/DiagTrendView.h"

#include "diagnostics/DiagnosticsValues.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace halcyra {

namespace {

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

void StyleAxis(QAbstractAxis& axis, const QColor& color, const QFont& font)
{
    axis.setLabelsFont(font);
    axis.setLabelsColor(color);
    QFont titleFont = font;
    titleFont.setBold(true);
    axis.setTitleFont(titleFont);
    axis.setTitleBrush(color);
    axis.setGridLineColor(QColor(0xe4, 0xe4, 0xe4));
}

// The axis is laid out again only when its scale changes.
void ShowScale(QValueAxis& axis, const TrendScale& scale)
{
    if (axis.min() == scale.min && axis.max() == scale.max)
        return;
    axis.setRange(scale.min, scale.max);
    axis.setTickCount(static_cast<int>(scale.Ticks().size()));
}

} // namespace

CDiagTrendView::CDiagTrendView(const CDiagPageValues& values, QWidget* parent)
    // Made with its chart: a chart set later would orphan the view's own.
    : QChartView(new QChart, parent), values_(values), history_(values.Plotted().size())
{
    setObjectName(QStringLiteral("trend"));
    setMinimumSize(500, 240);
    setRenderHint(QPainter::Antialiasing);
    chart_ = chart(); // the view owns it
    chart_->legend()->hide();
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(2, 2, 2, 2));
    chart_->setAnimationOptions(QChart::NoAnimation);

    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 0.5));
    time_ = new QValueAxis(chart_);
    time_->setTitleText(QStringLiteral("Seconds ago"));
    time_->setLabelFormat(QStringLiteral("%.0f"));
    StyleAxis(*time_, palette().color(QPalette::WindowText), small);
    chart_->addAxis(time_, Qt::AlignBottom);

    const DiagPageRow& row = values.Row();
    for (DiagQuantity quantity : values.Plotted()) {
        Plot plot{quantity, TitleOf(row, quantity), ColorOf(quantity), nullptr, {}};
        if (quantity == DiagQuantity::State) {
            auto* levels = new QCategoryAxis(chart_);
            levels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
            for (std::size_t i = 0; i < row.states.size(); ++i)
                levels->append(QString::fromLatin1(row.states[i].text), static_cast<double>(i));
            levels->setRange(-0.5, static_cast<double>(row.states.size()) - 0.5);
            plot.axis = levels;
        } else {
            auto* numbers = new QValueAxis(chart_);
            numbers->setLabelFormat(QStringLiteral("%.4g"));
            plot.axis = numbers;
        }
        plot.axis->setTitleText(plot.title);
        StyleAxis(*plot.axis, plot.color, small);
        // The first value on the left, the next on the right.
        chart_->addAxis(plot.axis, plots_.empty() ? Qt::AlignLeft : Qt::AlignRight);
        plots_.push_back(plot);
    }
    Redraw(CTrendHistory::Clock::now());
}

QLineSeries* CDiagTrendView::Line(Plot& plot, std::size_t index)
{
    while (plot.lines.size() <= index) {
        auto* line = new QLineSeries(chart_);
        QPen pen(plot.color);
        pen.setWidthF(1.5);
        line->setPen(pen);
        chart_->addSeries(line);
        line->attachAxis(time_);
        line->attachAxis(plot.axis);
        plot.lines.push_back(line);
    }
    return plot.lines[index];
}

void CDiagTrendView::Record(CTrendHistory::Clock::time_point when)
{
    std::vector<std::optional<double>> sample;
    for (const Plot& plot : plots_)
        sample.push_back(values_.PlotValue(plot.quantity));
    history_.Add(when, sample);
    Redraw(when);
}

void CDiagTrendView::Clear()
{
    history_.Clear();
    Redraw(CTrendHistory::Clock::now());
}

void CDiagTrendView::Redraw(CTrendHistory::Clock::time_point now)
{
    // Laying out an axis costs more than drawing the lines: only a change does.
    ShowScale(*time_, TimeScale(history_.Span(now)));

    for (std::size_t p = 0; p < plots_.size(); ++p) {
        Plot& plot = plots_[p];
        const bool steps = plot.quantity == DiagQuantity::State;
        const std::vector<TrendLine> lines = history_.Lines(p, now, steps);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            QList<QPointF> points;
            points.reserve(static_cast<qsizetype>(lines[i].size()));
            for (const TrendPoint& point : lines[i])
                points.append(QPointF(point.seconds, point.value));
            Line(plot, i)->replace(points);
        }
        for (std::size_t i = lines.size(); i < plot.lines.size(); ++i)
            plot.lines[i]->clear();
        if (steps)
            continue;
        if (auto range = history_.Range(p, now))
            ShowScale(*static_cast<QValueAxis*>(plot.axis), ValueScale(range->first, range->second));
    }
    Describe(now);
}

std::vector<int> CDiagTrendView::DrawnPoints() const
{
    std::vector<int> drawn;
    for (const Plot& plot : plots_) {
        int points = 0;
        for (const QLineSeries* line : plot.lines)
            points += static_cast<int>(line->count());
        drawn.push_back(points);
    }
    return drawn;
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
