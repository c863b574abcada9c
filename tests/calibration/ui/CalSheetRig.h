#pragma once
// A calibration sheet against the simulator, shown at one of its pages, and
// a record of the calibration messages the program sent.

#include "UiFixture.h"

#include "calibration/ui/CalSheet.h"
#include "link/ControllerLink.h"
#include "link/FrameTrace.h"

namespace halcyra::test {

inline sim::SimOptions Setting(std::vector<std::string> assignments,
                               std::initializer_list<std::pair<const char*, const char*>> extra = {})
{
    sim::SimOptions o = SimWith(extra);
    o.assignments = std::move(assignments);
    return o;
}

struct CalSheetRig {
    explicit CalSheetRig(sim::SimOptions o = {})
    {
        t.UseSimulator(std::move(o));
        t.Start();
        t.notifier.shown.clear();
        sheet = std::make_unique<CCalSheet>(t.app->Context());
    }
    ~CalSheetRig()
    {
        if (sheet->isVisible())
            sheet->done(QDialog::Rejected);
        t.app->Context().link.SetTrace(nullptr);
    }
    template <typename P> P& Show(CalPage page)
    {
        sheet->SetActivePage(sheet->Page(page));
        sheet->show();
        sheet->SetActivePage(sheet->Page(page));
        return dynamic_cast<P&>(*sheet->Page(page));
    }

    UiApp t;
    std::unique_ptr<CCalSheet> sheet;
};

// The calibration messages (0x4A) sent from now on: sub-code and operation.
class CSentCalibrations final : public IFrameTrace {
public:
    explicit CSentCalibrations(CControllerLink& link) : link_(link) { link.SetTrace(this); }
    ~CSentCalibrations() override { link_.SetTrace(nullptr); }
    void OnFrame(const TraceRecord& record) override
    {
        if (record.direction == TraceDirection::Sent && record.header.size() >= 4 && record.header[1] == 0x4A)
            sent_.push_back({record.header[2], record.header[3]});
    }
    // The operations of one sub-code, in order; the record starts again.
    std::vector<int> Take(std::uint8_t subCode)
    {
        std::vector<int> ops;
        for (const auto& [sub, op] : sent_)
            if (sub == subCode)
                ops.push_back(op);
        sent_.clear();
        return ops;
    }

private:
    CControllerLink& link_;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> sent_;
};

} // namespace halcyra::test
