#pragma once
// The calibration pages this version of the toolbox does not carry yet:
// each has its class, title and heading, and says that it is not available.

#include "calibration/CalibrationPages.h"
#include "pages/ui/HCPropertyPage.h"

namespace halcyra {

inline constexpr const char* kNotYetAvailableText =
    "This calibration is not available in this version of the toolbox yet.";

class CCalPlaceholderPage : public CHCPropertyPage {
    Q_OBJECT

public:
    CCalPlaceholderPage(CUiContext& context, CalPage page, QWidget* parent = nullptr);
    CalPage Page() const { return page_; }

private:
    CalPage page_;
};

// One class per page, under the names the calibration sheet knows them by.

class CCalOrientationPage final : public CCalPlaceholderPage {
public:
    explicit CCalOrientationPage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::Orientation, parent)
    {
    }
};

class CCalOrientationDirect final : public CCalPlaceholderPage {
public:
    explicit CCalOrientationDirect(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::OrientationDirect, parent)
    {
    }
};

class CCalAntennaPosCorrPage final : public CCalPlaceholderPage {
public:
    explicit CCalAntennaPosCorrPage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::AntennaPosCorr, parent)
    {
    }
};

class CCalRollCorrPage final : public CCalPlaceholderPage {
public:
    explicit CCalRollCorrPage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::RollCorr, parent)
    {
    }
};

class CCalTrackSpacingPage final : public CCalPlaceholderPage {
public:
    explicit CCalTrackSpacingPage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::TrackSpacing, parent)
    {
    }
};

class CCalJDElecManualOverride final : public CCalPlaceholderPage {
public:
    explicit CCalJDElecManualOverride(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::JDElecManualOverride, parent)
    {
    }
};

class CCalHydTrackedSteeringPump final : public CCalPlaceholderPage {
public:
    explicit CCalHydTrackedSteeringPump(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::HydTrackedSteeringPump, parent)
    {
    }
};

class CCalJDElecTrackContentsPage final : public CCalPlaceholderPage {
public:
    explicit CCalJDElecTrackContentsPage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::JDElecTrackContents, parent)
    {
    }
};

class CCalMTElecTrackContentsPage final : public CCalPlaceholderPage {
public:
    explicit CCalMTElecTrackContentsPage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::MTElecTrackContents, parent)
    {
    }
};

class CCalRPMSensor final : public CCalPlaceholderPage {
public:
    explicit CCalRPMSensor(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::RPMSensor, parent)
    {
    }
};

class CCalHydTrackedPumpKneePage final : public CCalPlaceholderPage {
public:
    explicit CCalHydTrackedPumpKneePage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::HydTrackedPumpKnee, parent)
    {
    }
};

class CCalManOverridePage final : public CCalPlaceholderPage {
public:
    explicit CCalManOverridePage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::ManOverride, parent)
    {
    }
};

class CCalJDx30TElecTrackContentsPage final : public CCalPlaceholderPage {
public:
    explicit CCalJDx30TElecTrackContentsPage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::JDx30TElecTrackContents, parent)
    {
    }
};

class CCalAggressivenessPage final : public CCalPlaceholderPage {
public:
    explicit CCalAggressivenessPage(CUiContext& context, QWidget* parent = nullptr)
        : CCalPlaceholderPage(context, CalPage::Aggressiveness, parent)
    {
    }
};

} // namespace halcyra
