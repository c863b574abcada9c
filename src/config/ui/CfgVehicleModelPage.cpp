#include "config/ui/CfgVehicleModelPage.h"

#include "config/ConfigurationPages.h"
#include "pages/DataDirectories.h"
#include "pages/SerialGuard.h"
#include "pages/ui/HCPropertySheet.h"
#include "pages/ui/UiContext.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

CCfgVehicleModelPage::CCfgVehicleModelPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Vehicle Model"), QString::fromLatin1(ConfigPageHeading(ConfigPage::VehicleModel)), parent)
{
    SetPageName(ConfigPageTitle(ConfigPage::VehicleModel));
    state_.busy = context.busy;
    DescribeFields(VehicleModelFields(state_, {.listChosen = [this] { SetPageModified(true); },
                                               .modeChosen = [this](int mode) { OnModeChosen(mode); }}));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    browse_ = AddButton(QStringLiteral("&Browse"), "browse", [this] { OnBrowse(); });
    refresh_ = AddButton(QStringLiteral("&Refresh"), "refresh", [this] { OnRefresh(); });
    select_ = AddButton(QStringLiteral("&Select"), "select", [this] { OnSelect(); });
    row->addWidget(browse_);
    row->addWidget(refresh_);
    row->addWidget(select_);
    Body()->addLayout(row);
    Body()->addStretch(1);
}

CVehicleModelState::ApplyOptions CCfgVehicleModelPage::Options(CBusyReports& busy, ProgressCallback progress) const
{
    CVehicleModelState::ApplyOptions options;
    options.busy = busy.Callback();
    options.restartPause = restartPause_;
    options.progress = std::move(progress);
    options.backup.configurationDir = Context().directories.ConfigurationDir();
    return options;
}

template <typename Step> void CCfgVehicleModelPage::WithApplyOptions(Step step)
{
    CTransferProgress progress(this, window()->windowTitle(),
                               QStringLiteral("Writing the vehicle profile: %1 of %2 chunks"));
    CBusyReports busy(*Context().busy);
    step(Options(busy, progress.Callback()));
}

void CCfgVehicleModelPage::UpdateControls()
{
    CHCPropertyPage::UpdateControls();
    const VehicleModelLayout& layout = state_.layout;
    browse_->setVisible(layout.browse);
    refresh_->setVisible(layout.refresh);
    select_->setEnabled(layout.selectEnabled);
}

bool CCfgVehicleModelPage::OnSetActive()
{
    state_.Refresh(Link(), IsPageModified());
    return CHCPropertyPage::OnSetActive();
}

bool CCfgVehicleModelPage::OnKillActive()
{
    if (!UpdateMembers())
        return false;
    WithApplyOptions([this](const CVehicleModelState::ApplyOptions& options) {
        state_.Leave(Link(), IsPageModified(), options);
    });
    SetPageModified(false);
    return CHCPropertyPage::OnKillActive();
}

bool CCfgVehicleModelPage::OnQueryCancel()
{
    WithApplyOptions([this](const CVehicleModelState::ApplyOptions& options) {
        state_.Cancel(Link(), IsPageModified(), options);
    });
    SetPageModified(false);
    return CHCPropertyPage::OnQueryCancel();
}

void CCfgVehicleModelPage::OnBrowse()
{
    FileRequest request;
    request.mode = FileDialogMode::Open;
    request.directory = Context().directories.VehicleDatabaseDir();
    request.filter = kVehicleProfileFilter;
    request.defaultSuffix = kVehicleProfileExtension;
    const std::optional<std::string> path = Context().files->ChooseFile(request);
    if (!path || !state_.LoadProfile(*path, Context().notifier))
        return;
    SetPageModified(true);
    state_.LayOut(Link(), true, true);
    UpdateControls();
}

void CCfgVehicleModelPage::OnRefresh()
{
    state_.FillList(Link());
    UpdateControls();
}

void CCfgVehicleModelPage::OnSelect()
{
    // The sheet's OK leaves the page, which offers the change.
    if (Sheet())
        Sheet()->OnOK();
}

void CCfgVehicleModelPage::OnModeChosen(int mode)
{
    RunGuarded(Context().notifier, [&] { state_.ChooseMode(Link(), mode, IsPageModified()); });
    UpdateControls();
}

} // namespace halcyra
