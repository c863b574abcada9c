#include "pages/ui/HCPropertySheet.h"

#include "pages/ui/UiContext.h"
#include "pages/ui/DialogFont.h"
#include "pages/ui/HCPropertyPage.h"
#include "pages/SerialGuard.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace halcyra {

CHCPropertySheet::CHCPropertySheet(const QString& caption, QWidget* parent, int startPage)
    : QDialog(parent), startPage_(startPage)
{
    Build();
    setWindowTitle(caption);
}

CHCPropertySheet::CHCPropertySheet(std::uint8_t mode, QWidget* parent) : QDialog(parent), mode_(mode) { Build(); }

CHCPropertySheet::~CHCPropertySheet()
{
    // The pages go with the sheet's children; they must not call back.
    for (int i = 0; i < GetPageCount(); ++i)
        GetPage(i)->sheet_ = nullptr;
}

void CHCPropertySheet::Build()
{
    setFont(ToolboxFont());
    setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(7, 7, 7, 7);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    // Every tab stays in sight: the sheet grows to hold them all.
    tabs_->setUsesScrollButtons(false);
    layout->addWidget(tabs_, 1);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    buttons_->button(QDialogButtonBox::Apply)->setEnabled(false);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CHCPropertySheet::OnOK);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CHCPropertySheet::reject);
    connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &CHCPropertySheet::OnApply);
    connect(tabs_, &QTabWidget::currentChanged, this, &CHCPropertySheet::OnTabChanged);
}

QPushButton* CHCPropertySheet::ApplyButton() const { return buttons_->button(QDialogButtonBox::Apply); }

void CHCPropertySheet::AddPage(CHCPropertyPage* page)
{
    if (!page || page->sheet_)
        return;
    page->sheet_ = this;
    page->created_ = false;
    names_.push_back(page->GetPageName());
    {
        QSignalBlocker block(tabs_);
        tabs_->addTab(page, page->Title());
    }
    connect(page, &CHCPropertyPage::modifiedChanged, this, &CHCPropertySheet::UpdateApply);
    if (running_ && active_ < 0)
        Activate(tabs_->currentIndex());
}

void CHCPropertySheet::RemovePage(CHCPropertyPage* page)
{
    if (!page || page->sheet_ != this)
        return;
    RemovePage(GetPageIndex(page));
}

void CHCPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    CHCPropertyPage* page = GetPage(index);
    page->sheet_ = nullptr;
    if (page->created_)
        page->OnDestroy();
    page->created_ = false;
    disconnect(page, &CHCPropertyPage::modifiedChanged, this, &CHCPropertySheet::UpdateApply);
    names_.erase(names_.begin() + index);
    {
        QSignalBlocker block(tabs_);
        tabs_->removeTab(index);
    }
    page->hide();
    if (index == active_) {
        active_ = -1;
        if (running_ && GetPageCount() > 0)
            Activate(tabs_->currentIndex());
    } else if (index < active_) {
        --active_;
    }
    UpdateApply();
}

void CHCPropertySheet::RemoveAllPages()
{
    while (GetPageCount() > 0)
        RemovePage(0);
}

int CHCPropertySheet::GetPageCount() const { return tabs_->count(); }

CHCPropertyPage* CHCPropertySheet::GetPage(int index) const
{
    return qobject_cast<CHCPropertyPage*>(tabs_->widget(index));
}

int CHCPropertySheet::GetPageIndex(const CHCPropertyPage* page) const
{
    return page ? tabs_->indexOf(const_cast<CHCPropertyPage*>(page)) : -1;
}

int CHCPropertySheet::GetActiveIndex() const { return running_ ? active_ : tabs_->currentIndex(); }

CHCPropertyPage* CHCPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

bool CHCPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return false;
    if (!running_) {
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(index);
        return true;
    }
    if (index == active_)
        return true;
    tabs_->setCurrentIndex(index); // runs OnTabChanged
    return active_ == index;
}

void CHCPropertySheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (running_ || event->spontaneous())
        return;
    running_ = true;
    OnInitDialog();
    if (GetPageCount() == 0)
        return;
    int start = tabs_->currentIndex();
    if (startPage_ > 0 && startPage_ < GetPageCount()) {
        start = startPage_;
        startPage_ = 0;
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(start);
    }
    Activate(start);
}

void CHCPropertySheet::Activate(int index)
{
    active_ = index;
    CHCPropertyPage* page = GetPage(index);
    if (!page)
        return;
    RunGuarded(page->Context().notifier, [page] {
        if (!page->created_) {
            page->created_ = true;
            page->OnInitDialog();
        }
        page->OnSetActive();
    });
}

bool CHCPropertySheet::LeaveActive()
{
    CHCPropertyPage* page = GetPage(active_);
    if (!page)
        return true;
    bool left = true;
    // A port failure while saving has been reported; the page is left.
    RunGuarded(page->Context().notifier, [&] { left = page->OnKillActive(); });
    return left;
}

void CHCPropertySheet::OnTabChanged(int index)
{
    if (!running_ || index == active_)
        return;
    if (active_ >= 0 && !LeaveActive()) {
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(active_);
        return;
    }
    Activate(index);
}

void CHCPropertySheet::OnOK()
{
    if (running_ && !LeaveActive())
        return;
    for (int i = 0; running_ && i < GetPageCount(); ++i) {
        CHCPropertyPage* page = GetPage(i);
        if (page->created_)
            RunGuarded(page->Context().notifier, [page] { page->OnOK(); });
    }
    accept();
}

void CHCPropertySheet::OnApply()
{
    if (running_ && !LeaveActive())
        return;
    UpdateApply();
}

void CHCPropertySheet::reject()
{
    if (running_) {
        if (CHCPropertyPage* page = GetPage(active_)) {
            bool allowed = true;
            RunGuarded(page->Context().notifier, [&] { allowed = page->OnQueryCancel(); });
            if (!allowed)
                return;
        }
    }
    QDialog::reject();
}

void CHCPropertySheet::done(int result)
{
    QDialog::done(result);
    // The pages' windows end with the run: the next run creates them anew.
    running_ = false;
    active_ = -1;
    for (int i = 0; i < GetPageCount(); ++i) {
        CHCPropertyPage* page = GetPage(i);
        if (page->created_)
            page->OnDestroy();
        page->created_ = false;
    }
}

void CHCPropertySheet::UpdateApply()
{
    bool any = false;
    for (int i = 0; i < GetPageCount(); ++i)
        any = any || GetPage(i)->IsPageModified();
    ApplyButton()->setEnabled(any);
}

} // namespace halcyra
