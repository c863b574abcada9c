#include "UiFixture.h"

#include "app/ui/MessageBoxNotifier.h"
#include "link/ControllerLink.h"
#include "app/ui/SetupSheet.h"
#include "setup/ui/InformationPage.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace halcyra;
using namespace halcyra::test;

TEST(InformationPage, ShowsTheControllerIdentity)
{
    UiApp t;
    t.UseSimulator(SimWith({{"options", "0,1,5,11,40"}}));
    t.Start();
    t.notifier.shown.clear();
    CSetupSheet sheet(t.app->Context());
    sheet.SetActivePage(4);
    sheet.show();
    CInformationPage& page = *sheet.Information();
    EXPECT_EQ(QStringLiteral("HC2-0042137"), page.Text(QStringLiteral("Serial Number:")));
    EXPECT_EQ(QStringLiteral("2.86"), page.Text(QStringLiteral("Application Version:")));
    EXPECT_EQ(QStringLiteral("7/2/2009"), page.Text(QStringLiteral("Application Date:")));
    EXPECT_EQ(QStringLiteral("Logging, Diagnostic Mode Enabled, ISO VT Display"),
              page.Text(QStringLiteral("Options Installed:")));
    EXPECT_EQ(QStringLiteral("Fieldora 8240W"), page.Text(QStringLiteral("Vehicle Model:")));
    EXPECT_EQ(QStringLiteral("3.05"), page.Text(QStringLiteral("Monitor Version:")));
    EXPECT_EQ(QStringLiteral("7/2/9"), page.Text(QStringLiteral("Monitor Date:")));
    EXPECT_TRUE(t.notifier.shown.empty());

    // Each activation asks again.
    t.app->Simulator()->WithController([](sim::CSimController& s) { s.Params().Set("vms", "\"Orlic 7\""); });
    sheet.SetActivePage(0);
    sheet.SetActivePage(4);
    EXPECT_EQ(QStringLiteral("Orlic 7"), page.Text(QStringLiteral("Vehicle Model:")));
    sheet.done(QDialog::Rejected);
}

TEST(MessageBoxNotifier, ShowsTheBoxAndReturnsTheButtonPressed)
{
    CMessageBoxNotifier notifier;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, box);
        title = box->windowTitle();
        icon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(MsgAnswer::No, notifier.Notify("Discard Changes?", "", MsgButtons::YesNo, MsgIcon::Exclamation));
    EXPECT_EQ(QString(), title);
    EXPECT_EQ(QMessageBox::Warning, icon);

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, box);
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(MsgAnswer::Ok, notifier.Notify("x", "Error", MsgButtons::OkCancel, MsgIcon::Stop));
    EXPECT_EQ(QMessageBox::Critical, icon);
}
