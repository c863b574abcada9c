#pragma once
// "Information": the connected controller's serial number, application
// firmware, installed options, vehicle model and monitor firmware. Read
// only; every activation asks the controller again.

#include "pages/ui/HCPropertyPage.h"
#include "setup/InformationModel.h"

namespace halcyra {

class CInformationPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CInformationPage(CUiContext& context, QWidget* parent = nullptr);

    bool OnSetActive() override;

    const CInformationModel& Model() const { return model_; }
    // The text shown beside a label such as "Serial Number:".
    QString Text(const QString& label) const;

private:
    CInformationModel model_;
};

} // namespace halcyra
