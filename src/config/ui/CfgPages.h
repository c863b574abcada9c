#pragma once
// The configuration pages that are a table of fields over a model: display
// units and language, sensors, DoroZiriv, operational parameters, lightbar,
// GPS receiver, radio network and valve-on speed. Their rules live in the
// models beside them in config/; these classes bind them to controls.

#include "config/DisplayModel.h"
#include "config/DoroZirivModel.h"
#include "config/GpsModel.h"
#include "config/LightbarModel.h"
#include "config/OperationModel.h"
#include "config/RadioModel.h"
#include "config/SensorsModel.h"
#include "config/ValveOnSpeedModel.h"
#include "pages/ui/HCPropertyPage.h"

namespace halcyra {

class CCfgDisplayPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgDisplayPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnKillActive() override;
    CDisplayModel& Model() { return model_; }

private:
    CDisplayModel model_;
};

class CCfgSensorsPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgSensorsPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnSetActive() override;
    CSensorsModel& Model() { return model_; }

private:
    CSensorsModel model_;
};

class CCfgDoroZirivPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgDoroZirivPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnKillActive() override;
    CDoroZirivModel& Model() { return model_; }

protected:
    void OnBeforeRefresh() override { model_.ApplyProfileSupport(); }

private:
    CDoroZirivModel model_;
};

class CCfgOperationPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgOperationPage(CUiContext& context, QWidget* parent = nullptr);
    COperationModel& Model() { return model_; }

protected:
    bool UpdateMembers() override;

private:
    COperationModel model_;
};

class CCfgLightbarPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgLightbarPage(CUiContext& context, QWidget* parent = nullptr);
    CLightbarModel& Model() { return model_; }

private:
    CLightbarModel model_;
};

class CCfgGPSPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgGPSPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    CGpsModel& Model() { return model_; }

private:
    CGpsModel model_;
};

class CCfgRadioPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgRadioPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnSetActive() override;
    bool OnKillActive() override;
    CRadioModel& Model() { return model_; }

private:
    CRadioModel model_;
};

class CCfgLowSpeedPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgLowSpeedPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnSetActive() override;
    bool OnKillActive() override;
    CValveOnSpeedModel& Model() { return model_; }

private:
    CValveOnSpeedModel model_;
};

} // namespace halcyra
