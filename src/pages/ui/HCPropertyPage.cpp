#include "pages/ui/HCPropertyPage.h"

#include "pages/SerialGuard.h"
#include "pages/ui/DialogFont.h"
#include "pages/ui/FieldBinder.h"
#include "pages/ui/HCPropertySheet.h"
#include "pages/ui/UiContext.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

CHCPropertyPage::CHCPropertyPage(CUiContext& context, const QString& title, const QString& heading,
                                 QWidget* parent)
    : QWidget(parent), context_(context), title_(title), pageName_(title.toStdString())
{
    setFont(ToolboxFont());
    logic_.onModifiedChanged = [this](bool modified) { emit modifiedChanged(modified); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(6);
    heading_ = new QLabel(heading, this);
    heading_->setObjectName(QStringLiteral("heading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    layout->addWidget(heading_);
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("separator"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    body_ = new QVBoxLayout;
    body_->setSpacing(6);
    layout->addLayout(body_, 1);
}

CHCPropertyPage::~CHCPropertyPage()
{
    if (sheet_)
        sheet_->RemovePage(this);
}

CControllerLink& CHCPropertyPage::Link() const { return context_.link; }

void CHCPropertyPage::DescribeFields(PageFields fields, std::function<void()> rules)
{
    binder_ = new CFieldBinder(this, &logic_.units);
    binder_->SetRules(std::move(rules));
    body_->addLayout(binder_->Build(std::move(fields)));
}

QPushButton* CHCPropertyPage::AddButton(const QString& text, const char* name, std::function<void()> handler)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, handler = std::move(handler)] { RunGuarded(context_.notifier, handler); });
    return button;
}

void CHCPropertyPage::UpdateControls()
{
    if (binder_)
        binder_->ToControls();
}

bool CHCPropertyPage::UpdateMembers() { return !binder_ || binder_->FromControls(context_.notifier); }

bool CHCPropertyPage::OnInitDialog()
{
    wizardResult_ = kWizardResultNone;
    logic_.FetchAll(Link());
    UpdateControls();
    return true;
}

bool CHCPropertyPage::OnSetActive()
{
    logic_.FetchAll(Link());
    OnBeforeRefresh();
    UpdateControls();
    if (wizardButtonsWanted_)
        CreateWizardButtons();
    return true;
}

bool CHCPropertyPage::OnKillActive()
{
    if (!UpdateMembers())
        return false;
    logic_.OnLeave(Link());
    return true;
}

bool CHCPropertyPage::OnQueryCancel()
{
    logic_.OnCancel(Link());
    return true;
}

void CHCPropertyPage::SetPageModified(bool modified)
{
    logic_.modifiedFlag = modified;
    emit modifiedChanged(modified);
}

QPushButton* CHCPropertyPage::WizardButton(int id) const
{
    switch (id) {
    case kIdWizardNext:
        return nextButton_;
    case kIdWizardBack:
        return backButton_;
    case kIdWizardExit:
        return exitButton_;
    default:
        return nullptr;
    }
}

void CHCPropertyPage::CreateWizardButtons()
{
    if (!wizardRow_) {
        wizardRow_ = new QWidget(this);
        auto* row = new QHBoxLayout(wizardRow_);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        row->addStretch(1);
        auto make = [this, row](const QString& text, int id, int result) {
            auto* b = new QPushButton(text, wizardRow_);
            b->setObjectName(QStringLiteral("wizard%1").arg(id));
            b->setFixedSize(60, 22);
            b->setAutoDefault(false);
            connect(b, &QPushButton::clicked, this, [this, result] { OnWizardButton(result); });
            row->addWidget(b);
            return b;
        };
        backButton_ = make(QStringLiteral("< Back"), kIdWizardBack, kWizardResultBack);
        nextButton_ = make(QStringLiteral("Next >"), kIdWizardNext, kWizardResultNext);
        row->addSpacing(10);
        exitButton_ = make(QString(), kIdWizardExit, kWizardResultExit);
        layout()->addWidget(wizardRow_);
    }
    exitButton_->setText((wizardFlags_ & kWizardLastPage) ? QStringLiteral("Finished") : QStringLiteral("Exit"));
    exitButton_->setEnabled(!(wizardFlags_ & kWizardNoExit));
    nextButton_->setEnabled(!(wizardFlags_ & kWizardLastPage));
    backButton_->setEnabled(!(wizardFlags_ & kWizardFirstPage));
    wizardRow_->show();
}

void CHCPropertyPage::OnWizardButton(int result)
{
    wizardResult_ = result;
    if (sheet_)
        sheet_->OnOK();
}

void CHCPropertyPage::ResetControllerAndWait()
{
    CBusyReports busy(*context_.busy);
    halcyra::ResetControllerAndWait(Link(), busy.Callback());
}

void CHCPropertyPage::EndSheet(int code)
{
    if (sheet_)
        sheet_->done(code);
}

} // namespace halcyra
