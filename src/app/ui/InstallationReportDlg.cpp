#include "app/ui/InstallationReportDlg.h"

#include "app/InstallationReportPdf.h"
#include "link/ControllerLink.h"
#include "pages/DataDirectories.h"
#include "pages/ui/BusyIndicators.h"
#include "pages/ui/UiContext.h"
#include "link/AtomicFile.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <ctime>

namespace halcyra {

namespace {

constexpr const char* kErrorCaption = "Installation Report Error";

QLineEdit* NameEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(static_cast<int>(kMaxReportNameLength));
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 36);
    return edit;
}

} // namespace

CInstallationReportDlg::CInstallationReportDlg(CUiContext& context, QWidget* parent) : CHCDialog(context, parent)
{
    setWindowTitle(QString::fromLatin1(kInstallationReportTitle));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("A printable record of this installation: the controller, the vehicle, "
                                           "every setup page, the calibration results and the recorded faults, "
                                           "with lines to sign. It is written as a PDF file."),
                            this);
    text->setObjectName(QStringLiteral("explanation"));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* form = new QFormLayout;
    installer_ = NameEdit(this, "installer");
    customer_ = NameEdit(this, "customer");
    form->addRow(QStringLiteral("&Installer:"), installer_);
    form->addRow(QStringLiteral("&Customer:"), customer_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Create &Report..."));
    connect(buttons, &QDialogButtonBox::accepted, this, &CInstallationReportDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CInstallationReportDlg::reject);
    layout->addWidget(buttons);
}

ReportPeople CInstallationReportDlg::People() const
{
    return {installer_->text().trimmed().toStdString(), customer_->text().trimmed().toStdString()};
}

void CInstallationReportDlg::accept()
{
    const ReportPeople people = People();
    for (const auto& [edit, name] : {std::pair{installer_, people.installer}, std::pair{customer_, people.customer}}) {
        if (const std::optional<std::string> problem = CheckReportName(name)) {
            Context().notifier.Notify("Error: " + *problem + ".", kErrorCaption, MsgButtons::Ok, MsgIcon::Stop);
            edit->setFocus();
            return;
        }
    }
    CHCDialog::accept();
}

void RunInstallationReport(CUiContext& context, QWidget* parent)
{
    CInstallationReportDlg dialog(context, parent);
    if (context.RunModal(dialog) != QDialog::Accepted)
        return;
    FileRequest request;
    request.mode = FileDialogMode::Save;
    request.directory = context.directories.ConfigurationDir();
    request.filter = kInstallationReportFilter;
    request.defaultSuffix = kInstallationReportExtension;
    const std::optional<std::string> path = context.files->ChooseFile(request);
    if (!path)
        return;
    CAtomicFile file;
    if (!file.Open(*path)) {
        context.notifier.Notify("Error: Could not open specified file for writing!", kErrorCaption, MsgButtons::Ok,
                                MsgIcon::Stop);
        return;
    }
    InstallationReport report;
    {
        CTransferProgress progress(parent, QString::fromLatin1(kInstallationReportTitle),
                                   QStringLiteral("Reading the controller: %1 of %2 parts"));
        CBusyScope busy(*context.busy);
        report = GatherInstallationReport(context.link, dialog.People(), std::time(nullptr), progress.Callback());
    }
    std::string pdf, error;
    if (!DrawInstallationReport(report, LocalePaper(), pdf, error) ||
        std::fwrite(pdf.data(), 1, pdf.size(), file.File()) != pdf.size() || !file.Commit()) {
        context.notifier.Notify("Error: The installation report could not be written" +
                                    (error.empty() ? std::string(".") : ": " + error + "."),
                                kErrorCaption, MsgButtons::Ok, MsgIcon::Stop);
        return;
    }
    std::string message = InstallationReportMessage(*path, report);
    if (report.controllerStopped)
        message += "\r\n\r\n" + ControllerStoppedText();
    context.notifier.Notify(message, kInstallationReportTitle, MsgButtons::Ok,
                            report.NotReadCount() == 0 ? MsgIcon::Information : MsgIcon::Exclamation);
}

} // namespace halcyra
