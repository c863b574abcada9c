// The trend under a diagnostics page, fed by polls of a simulated controller
// on a clock of the test's own: each value against the axis of its unit,
// gaps where a poll failed, states as steps between their named levels,
// every label inside the chart, and a redraw only when a poll arrives.

#include "diagnostics/DiagController.h"
#include "diagnostics/DiagnosticsValues.h"
#include "diagnostics/ui/DiagTrendView.h"

#include <QEvent>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

const CTrendHistory::Clock::time_point kStart{};

struct TrendRig {
    explicit TrendRig(DiagPage page) : values(DiagRow(page)), view(values)
    {
        values.transact = {.timeoutMs = 30, .tries = 1};
        view.resize(view.minimumSizeHint());
    }
    // One poll answered with payload, or failing without it, drawn as of at.
    void Poll(std::optional<sim::Bytes> payload, std::chrono::milliseconds at)
    {
        c.pulled = !payload;
        c.payload = payload;
        values.Refresh(c.link);
        view.Record(kStart + at);
    }

    DiagController c;
    CDiagPageValues values;
    CDiagTrendView view;
};

sim::Bytes F(float value) { return FloatBytes(value); }
sim::Bytes B(std::uint8_t value) { return {value}; }

std::vector<std::string> Texts(const CDiagTrendView::Axis& axis)
{
    std::vector<std::string> texts;
    for (const CDiagTrendView::Tick& tick : axis.ticks)
        texts.push_back(tick.text.toStdString());
    return texts;
}

// Where the tick labelled text sits on its axis.
double At(const CDiagTrendView::Axis& axis, const char* text)
{
    for (const CDiagTrendView::Tick& tick : axis.ticks)
        if (tick.text == QLatin1String(text))
            return tick.at;
    ADD_FAILURE() << axis.title.toStdString() << " has no tick " << text;
    return -1;
}

// Whether the pixel holding point has the line's colour rather than the chart's.
bool Inked(const QImage& image, QPointF point, const QColor& line)
{
    const QColor pixel =
        image.pixelColor(static_cast<int>(std::floor(point.x())), static_cast<int>(std::floor(point.y())));
    const int distance = std::abs(pixel.red() - line.red()) + std::abs(pixel.green() - line.green()) +
                         std::abs(pixel.blue() - line.blue());
    return distance < 200;
}

struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

} // namespace

TEST(DiagTrendView, EachValueIsDrawnAgainstTheAxisOfItsUnit)
{
    TrendRig rig(DiagPage::SteeringAngle);
    rig.Poll(F(1.0f) + F(-20.0f), 0ms);
    rig.Poll(F(2.0f) + F(20.0f), 1000ms);

    const auto& axes = rig.view.Axes();
    ASSERT_EQ(3u, axes.size());
    const CDiagTrendView::Axis& time = axes[0];
    const CDiagTrendView::Axis& raw = axes[1];
    const CDiagTrendView::Axis& scaled = axes[2];
    EXPECT_EQ(QStringLiteral("Seconds ago"), time.title);
    EXPECT_EQ((std::vector<std::string>{"-1", "0"}), Texts(time));
    EXPECT_EQ(QStringLiteral("Raw (volts)"), raw.title);
    EXPECT_EQ(Qt::LeftEdge, raw.edge);
    EXPECT_EQ((std::vector<std::string>{"0.5", "1", "1.5", "2", "2.5"}), Texts(raw));
    EXPECT_EQ(QStringLiteral("Scaled (deg)"), scaled.title);
    EXPECT_EQ(Qt::RightEdge, scaled.edge);
    EXPECT_EQ((std::vector<std::string>{"-40", "-20", "0", "20", "40"}), Texts(scaled));
    EXPECT_NE(raw.color, scaled.color);

    // Each reading lands on its own axis's tick of the same value.
    const auto& lines = rig.view.Lines();
    ASSERT_EQ(2u, lines.size());
    ASSERT_EQ(1u, lines[0].size());
    ASSERT_EQ(2, lines[0][0].size());
    ASSERT_EQ(1u, lines[1].size());
    ASSERT_EQ(2, lines[1][0].size());
    EXPECT_NEAR(At(raw, "1"), lines[0][0][0].y(), 0.01);
    EXPECT_NEAR(At(raw, "2"), lines[0][0][1].y(), 0.01);
    EXPECT_NEAR(At(scaled, "-20"), lines[1][0][0].y(), 0.01);
    EXPECT_NEAR(At(scaled, "20"), lines[1][0][1].y(), 0.01);
    EXPECT_NEAR(At(time, "-1"), lines[0][0][0].x(), 0.01);
    EXPECT_NEAR(At(time, "0"), lines[1][0][1].x(), 0.01);
    // The axes span the plot: the lowest tick at its bottom, the highest at its top.
    const QRectF plot = rig.view.PlotArea();
    EXPECT_DOUBLE_EQ(plot.bottom(), At(raw, "0.5"));
    EXPECT_DOUBLE_EQ(plot.top(), At(scaled, "40"));
    EXPECT_DOUBLE_EQ(plot.right(), At(time, "0"));
}

TEST(DiagTrendView, APollThatFailedLeavesAGapAndALoneReadingStillShows)
{
    TrendRig rig(DiagPage::ManualOverride);
    const sim::Bytes reading = F(0.6f) + B(1); // the state's line well above the raw one
    rig.Poll(reading, 0ms);
    rig.Poll(reading, 250ms);
    rig.Poll(std::nullopt, 500ms);
    rig.Poll(reading, 750ms);
    rig.Poll(std::nullopt, 1000ms);
    rig.Poll(reading, 1250ms);
    rig.Poll(reading, 1500ms);

    const auto& lines = rig.view.Lines();
    ASSERT_EQ(2u, lines.size());
    for (const auto& plotted : lines) {
        ASSERT_EQ(3u, plotted.size()) << "two gaps in each line";
        EXPECT_EQ(1, plotted[1].size()) << "the reading between the failed polls";
    }
    const QColor rawColor = rig.view.Axes()[1].color;
    const QPolygonF& first = lines[0][0];
    const QPolygonF& lone = lines[0][1];
    ASSERT_EQ(2, first.size());
    EXPECT_DOUBLE_EQ(first[1].y(), lone[0].y()) << "the same reading";

    const QImage image = rig.view.grab().toImage();
    EXPECT_TRUE(Inked(image, (first[0] + first[1]) / 2, rawColor));
    EXPECT_FALSE(Inked(image, (first[1] + lone[0]) / 2, rawColor)) << "no line across the failed poll";
    EXPECT_TRUE(Inked(image, lone[0], rawColor));
}

TEST(DiagTrendView, AStateStepsBetweenItsNamedLevels)
{
    TrendRig rig(DiagPage::ManualOverride);
    rig.Poll(F(0.5f) + B(0), 0ms);
    rig.Poll(F(0.5f) + B(1), 1000ms);
    rig.Poll(F(0.5f) + B(7), 2000ms);

    const CDiagTrendView::Axis& state = rig.view.Axes().at(2);
    EXPECT_EQ(QStringLiteral("State"), state.title);
    EXPECT_EQ((std::vector<std::string>{"Unknown", "Not Active", "Active"}), Texts(state)) << "lowest first";
    EXPECT_GT(At(state, "Unknown"), At(state, "Not Active"));
    EXPECT_GT(At(state, "Not Active"), At(state, "Active"));

    ASSERT_EQ(1u, rig.view.Lines().at(1).size());
    const QPolygonF& steps = rig.view.Lines()[1][0];
    const double second = At(rig.view.Axes()[0], "-1");
    ASSERT_EQ(5, steps.size());
    // Not Active until the next poll, straight up to Active, then down to Unknown.
    EXPECT_DOUBLE_EQ(At(state, "Not Active"), steps[0].y());
    EXPECT_DOUBLE_EQ(At(state, "Not Active"), steps[1].y());
    EXPECT_NEAR(second, steps[1].x(), 0.01);
    EXPECT_NEAR(second, steps[2].x(), 0.01);
    EXPECT_DOUBLE_EQ(At(state, "Active"), steps[2].y());
    EXPECT_DOUBLE_EQ(At(state, "Active"), steps[3].y());
    EXPECT_DOUBLE_EQ(rig.view.PlotArea().right(), steps[3].x());
    EXPECT_DOUBLE_EQ(rig.view.PlotArea().right(), steps[4].x());
    EXPECT_DOUBLE_EQ(At(state, "Unknown"), steps[4].y());
    for (const QPointF& point : steps)
        EXPECT_TRUE(rig.view.PlotArea().contains(point));
}

TEST(DiagTrendView, EveryLabelFitsInsideTheChartAtTheSmallestSize)
{
    struct Case {
        DiagPage page;
        sim::Bytes low, high;
    };
    const Case cases[] = {
        {DiagPage::EngineSpeed, F(-12345.6f) + F(99.0f), F(-12001.2f) + F(1234567.0f)},
        {DiagPage::SteeringModuleFault, B(0) + B(0), B(1) + B(1)},
        {DiagPage::NeutralSenseDigital, B(0), B(1)},
        {DiagPage::OutputBalanceVoltage, F(-0.0202f) + B(0), F(0.0133f) + B(1)},
    };
    for (const Case& c : cases) {
        TrendRig rig(c.page);
        // A whole minute of polls: the time axis's widest labels.
        for (int second = 0; second <= 65; ++second)
            rig.Poll(second % 2 ? c.high : c.low, std::chrono::seconds(second));
        // As small as its labels, in this font, allow; shown, so that the
        // new size is laid out at once.
        rig.view.resize(rig.view.minimumSizeHint());
        rig.view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.view));
        const std::string page = DiagRow(c.page).title;
        ASSERT_EQ((std::vector<std::string>{"-60", "-50", "-40", "-30", "-20", "-10", "0"}), Texts(rig.view.Axes()[0]))
            << page;

        std::vector<std::pair<QString, QRectF>> boxes;
        for (const CDiagTrendView::Axis& axis : rig.view.Axes()) {
            boxes.emplace_back(axis.title, axis.titleRect);
            for (const CDiagTrendView::Tick& tick : axis.ticks)
                boxes.emplace_back(tick.text, tick.label);
        }
        const QRectF chart = rig.view.ChartRect();
        const QRectF plot = rig.view.PlotArea();
        EXPECT_GT(plot.width(), chart.width() / 2) << page;
        EXPECT_GT(plot.height(), chart.height() / 2) << page;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const auto& [text, box] = boxes[i];
            EXPECT_TRUE(chart.contains(box)) << page << ": " << text.toStdString();
            EXPECT_FALSE(plot.intersects(box)) << page << ": " << text.toStdString();
            for (std::size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(box.intersects(boxes[j].second))
                    << page << ": " << text.toStdString() << " over " << boxes[j].first.toStdString();
        }
    }
}

TEST(DiagTrendView, ItIsDrawnAgainOnlyWhenAPollArrives)
{
    TrendRig rig(DiagPage::SteeringAngle);
    rig.Poll(F(1.0f) + F(-20.0f), 0ms);
    rig.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.view));
    QTest::qWait(50);

    PaintCounter counter;
    rig.view.installEventFilter(&counter);
    QTest::qWait(600);
    EXPECT_EQ(0, counter.paints) << "nothing new, nothing drawn";

    rig.Poll(F(1.5f) + F(0.0f), 250ms);
    QTest::qWait(50);
    EXPECT_EQ(1, counter.paints);
    rig.Poll(std::nullopt, 500ms);
    QTest::qWait(50);
    EXPECT_EQ(2, counter.paints) << "a failed poll is drawn too";
    rig.view.removeEventFilter(&counter);
}
