#include "setup/ui/NewInstallationWizard.h"

#include "pages/SerialGuard.h"
#include "pages/ui/UiContext.h"
#include "setup/SetupFiles.h"
#include "setup/ui/SaveRestoreDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>


namespace halcyra {

CNewWizardSaveSetupToFile::CNewWizardSaveSetupToFile(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Save Setup"), QStringLiteral("Save to File"), parent)
{
    auto* label = new QLabel(QStringLiteral("Save Setup to File:"), this);
    Body()->addWidget(label);
    auto* hint = new QLabel(QStringLiteral("Press the icon below to save a copy of the setup to a file on the "
                                           "Pocket PC. This step is optional."),
                            this);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    Body()->addWidget(hint);
    save_ = new QToolButton(this);
    save_->setObjectName(QStringLiteral("saveToFile"));
    save_->setIcon(QIcon(QStringLiteral(":/res/SAVE_TO_FILE")));
    save_->setIconSize(QSize(64, 64));
    save_->setText(QStringLiteral("Save to File"));
    save_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    save_->setAutoRaise(true);
    Body()->addWidget(save_, 0, Qt::AlignHCenter);

    reportRow_ = new QWidget(this);
    auto* reportLayout = new QVBoxLayout(reportRow_);
    reportLayout->setContentsMargins(0, 12, 0, 0);
    reportLayout->addWidget(new QLabel(QStringLiteral("Installation Report:"), reportRow_));
    auto* reportHint = new QLabel(QStringLiteral("A printable record of this installation, with lines for the "
                                                 "installer and the customer to sign (PDF). This step is optional."),
                                  reportRow_);
    reportHint->setObjectName(QStringLiteral("reportHint"));
    reportHint->setWordWrap(true);
    reportLayout->addWidget(reportHint);
    report_ = new QPushButton(QStringLiteral("Installation &Report..."), reportRow_);
    report_->setObjectName(QStringLiteral("installationReport"));
    reportLayout->addWidget(report_, 0, Qt::AlignHCenter);
    reportRow_->hide();
    Body()->addWidget(reportRow_);
    Body()->addStretch(1);
    connect(save_, &QToolButton::clicked, this,
            [this] { RunGuarded(Context().notifier, [this] { OnSaveToFile(); }); });
    connect(report_, &QPushButton::clicked, this, [this] {
        if (runReport_)
            RunGuarded(Context().notifier, runReport_);
    });
}

void CNewWizardSaveSetupToFile::OfferInstallationReport(std::function<void()> run)
{
    runReport_ = std::move(run);
    reportRow_->setVisible(static_cast<bool>(runReport_));
}

void CNewWizardSaveSetupToFile::OnSaveToFile() { CSaveRestoreDlg::SaveSetupToFile(Context(), this, kSetupBlock); }

CNewInstallationWizardSheet::CNewInstallationWizardSheet(QWidget* parent) : CHCPropertySheet(std::uint8_t{1}, parent)
{
}

void CNewInstallationWizardSheet::OnInitDialog() { setWindowTitle(QStringLiteral("New Installation")); }

void CNewInstallationWizardSheet::showEvent(QShowEvent* event)
{
    CHCPropertySheet::showEvent(event);
    adjustSize();
}

CNewInstallationWizard::CNewInstallationWizard(CUiContext& context, CNewInstallationPages& pages, QWidget* parent)
    : context_(context), pages_(pages), parent_(parent),
      sequence_([&pages] { return pages.ConfigurationList(); }, [&pages] { return pages.CalibrationList(); }),
      home_(std::make_unique<QWidget>()), saveToFile_(new CNewWizardSaveSetupToFile(context, home_.get()))
{
}

void CNewInstallationWizard::Run()
{
    for (const char* text : {kNewInstallationIntroText, kNewInstallationRebootText})
        context_.notifier.Notify(text, "", MsgButtons::Ok, MsgIcon::Information);
    RunSteps();
}

void CNewInstallationWizard::RunSteps()
{
    using Kind = CNewInstallationSequence::StepKind;
    for (CNewInstallationSequence::Step step = sequence_.Current(); step.kind != Kind::Ended;
         step = sequence_.Current()) {
        switch (step.kind) {
        case Kind::Introduction:
            sequence_.Close(kWizardResultNext);
            break;
        case Kind::VehicleModel:
            sequence_.Close(RunStep(pages_.VehicleModelPage(), step.buttonFlags));
            break;
        case Kind::Page: {
            CHCPropertyPage& page = step.page == CNewInstallationSequence::kSaveSetupPage
                                        ? *saveToFile_
                                        : pages_.Page(step.phase, step.page);
            sequence_.Close(RunStep(page, step.buttonFlags));
            break;
        }
        case Kind::Ended:
            break;
        }
    }
}

int CNewInstallationWizard::RunStep(CHCPropertyPage& page, int buttonFlags)
{
    // The page goes back to its owner after the step, hidden, keeping its state.
    QWidget* owner = page.parentWidget();
    page.SetWizardButtons(true);
    page.SetWizardButtonFlags(buttonFlags);
    {
        CNewInstallationWizardSheet sheet(parent_);
        sheet.AddPage(&page);
        context_.RunModal(sheet);
        sheet.RemovePage(0);
        page.setParent(owner);
        page.hide();
    }
    return page.GetWizardResult();
}

} // namespace halcyra
