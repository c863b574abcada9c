#include "app/ui/NewInstallationWizardPages.h"

#include "app/NewInstallationPages.h"
#include "app/ui/InstallationReportDlg.h"
#include "calibration/ui/CalSheet.h"
#include "config/ui/ConfigSheet.h"
#include "pages/SerialGuard.h"
#include "pages/ui/ScreenRenderer.h"
#include "pages/ui/UiContext.h"

#include <QMessageBox>
#include <QPushButton>

namespace halcyra {

CNewInstallationWizardPages::CNewInstallationWizardPages(CUiContext& context, QWidget* parent)
    : context_(context), config_(std::make_unique<CConfigSheet>(context, parent, SheetPages::NoneYet)),
      calibration_(std::make_unique<CCalSheet>(context, parent, SheetPages::NoneYet))
{
    // The sheets only keep the pages; each step shows one alone. The lists
    // are read from the controller when their phase begins, not here.
}

CNewInstallationWizardPages::~CNewInstallationWizardPages() = default;

CHCPropertyPage& CNewInstallationWizardPages::VehicleModelPage() { return *config_->Page(ConfigPage::VehicleModel); }

CHCPropertyPage& CNewInstallationWizardPages::Page(CNewInstallationSequence::Phase phase, int page)
{
    if (phase == CNewInstallationSequence::Phase::Configuration)
        return *config_->Page(ConfigPageOf(page));
    return *calibration_->Page(CalPageOf(page));
}

std::vector<int> CNewInstallationWizardPages::ConfigurationList()
{
    return ReadNewInstallationConfigurationList(context_.link);
}

std::vector<int> CNewInstallationWizardPages::CalibrationList()
{
    return ReadNewInstallationCalibrationList(context_.link);
}

namespace {

// The last step offers the installation report as well as the setup file.
void OfferReport(CUiContext& context, CNewInstallationWizard& wizard)
{
    CNewWizardSaveSetupToFile* page = &wizard.SaveToFilePage();
    page->OfferInstallationReport([&context, page] { RunInstallationReport(context, page->window()); });
}

} // namespace

void RunNewInstallationWizard(CUiContext& context, QWidget* parent)
{
    CNewInstallationWizardPages pages(context, parent);
    CNewInstallationWizard wizard(context, pages, parent);
    OfferReport(context, wizard);
    wizard.Run();
}

void RenderNewInstallationScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens)
{
    int shot = 0;
    auto name = [&shot](const QString& what) {
        return QStringLiteral("wizard-%1-%2").arg(++shot, 2, 10, QLatin1Char('0')).arg(what);
    };
    for (const char* text : {kNewInstallationIntroText, kNewInstallationRebootText}) {
        QMessageBox box(QMessageBox::Information, QString(), QString::fromLatin1(text), QMessageBox::Ok, parent);
        screens.Save(box, name(QStringLiteral("introduction")));
        box.hide();
    }

    // Each step as it shows, then on with Next.
    CNewInstallationWizardPages pages(context, parent);
    CNewInstallationWizard wizard(context, pages, parent);
    OfferReport(context, wizard);
    const auto runModal = std::move(context.runModal);
    context.runModal = [&](QDialog& dialog) {
        auto& sheet = dynamic_cast<CHCPropertySheet&>(dialog);
        CScreenRenderer::Show(sheet);
        CHCPropertyPage* page = sheet.GetPage(0);
        QString slug = page ? page->Title().toLower() : QStringLiteral("empty");
        slug.replace(QLatin1Char(' '), QLatin1Char('-'));
        screens.Save(sheet, name(slug));
        QPushButton* next = page ? page->WizardButton(kIdWizardNext) : nullptr;
        if (next && next->isEnabled())
            next->click();
        else
            sheet.done(QDialog::Accepted);
        return sheet.result();
    };
    RunGuarded(context.notifier, [&] { wizard.RunSteps(); });
    context.runModal = runModal;
}

} // namespace halcyra
