#pragma once
// The base of every diagnostics page: the lines of its row, refreshed four
// times a second while the page is the active one, and under them the trend
// of what the polls read. Leaving the page, or the sheet closing, stops its
// traffic. A poll that fails shows 0 and "Unknown"; an outage shows one box,
// and the page goes on polling so it recovers by itself.

#include "diagnostics/DiagnosticsValues.h"
#include "pages/Poll.h"
#include "pages/ui/HCPropertyPage.h"

namespace halcyra {

class CDiagTrendView;

class CHCDiagnosticsPropertyPage : public CHCPropertyPage {
    Q_OBJECT

public:
    CHCDiagnosticsPropertyPage(CUiContext& context, DiagPage page, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;

    const DiagPageRow& Row() const { return values_.Row(); }
    CDiagPageValues& Values() { return values_; }
    const CPoll& Poll() const { return poll_; }
    CDiagTrendView* Trend() const { return trend_; }
    // The text a shown line holds now: "state", "raw" or "scaled".
    QString Text(const std::string& id) const;

signals:
    // A poll has ended; read is false when it read nothing. The page shows
    // its values already.
    void polled(bool read);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    // One poll, as each tick runs it.
    bool PollOnce();
    void ShowValues();

    CDiagPageValues values_;
    CPoll poll_;
    CDiagTrendView* trend_ = nullptr;
};

} // namespace halcyra
