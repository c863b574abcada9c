#pragma once
// "Installation Report": asks who installed the system and for whom, then
// reads the controller and writes the printable report (a PDF) to the file
// the user picks.

#include "app/InstallationReport.h"
#include "pages/ui/HCDialog.h"

class QLineEdit;

namespace halcyra {

class CUiContext;

class CInstallationReportDlg : public CHCDialog {
    Q_OBJECT

public:
    explicit CInstallationReportDlg(CUiContext& context, QWidget* parent = nullptr);

    ReportPeople People() const;
    QLineEdit* Installer() const { return installer_; }
    QLineEdit* Customer() const { return customer_; }

    void accept() override;

private:
    QLineEdit* installer_ = nullptr;
    QLineEdit* customer_ = nullptr;
};

// The whole command: the names, the file, the reading with its progress,
// the drawing and one box that says how it went.
void RunInstallationReport(CUiContext& context, QWidget* parent);

} // namespace halcyra
