#pragma once
// "Information": the connected controller's serial number, application
// firmware, installed options, vehicle model and monitor firmware. Read
// only; every activation asks the controller again.

#include "pages/ui/HCPropertyPage.h"
#include "setup/InformationModel.h"

#include <vector>

class QLineEdit;

namespace halcyra {

class CInformationPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CInformationPage(CControllerLink& link, QWidget* parent = nullptr);

    bool OnSetActive() override;

    const CInformationModel& Model() const { return model_; }
    // The text shown beside a label such as "Serial Number:".
    QString Text(const QString& label) const;

protected:
    void UpdateControls() override;

private:
    CInformationModel model_;
    std::vector<QLineEdit*> texts_; // in the model's line order
};

} // namespace halcyra
