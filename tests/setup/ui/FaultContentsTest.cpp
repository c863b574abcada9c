#include "FileScript.h"
#include "UiFixture.h"
#include "SimFixture.h"

#include "app/DataPaths.h"
#include "link/ControllerLink.h"
#include "app/ui/SetupSheet.h"
#include "setup/ui/FaultContents.h"
#include "setup/ui/FaultDetailsDlg.h"

#include <QListWidget>
#include <QPushButton>

using namespace halcyra;
using namespace halcyra::test;

namespace {

// The setup sheet showing its Faults tab.
struct FaultRig {
    explicit FaultRig(sim::SimOptions o = {})
    {
        t.UseSimulator(std::move(o));
        t.Start();
        t.notifier.shown.clear();
        sheet.reset(new CSetupSheet(t.app->Context()));
        sheet->SetActivePage(3);
        sheet->show();
    }
    ~FaultRig() { sheet->done(QDialog::Rejected); }
    CFaultContents& Page() const { return *sheet->Faults(); }
    QStringList Listed() const
    {
        QStringList texts;
        for (int i = 0; i < Page().List()->count(); ++i)
            texts << Page().List()->item(i)->text();
        return texts;
    }
    void Select(int row) const { Page().List()->item(row)->setSelected(true); }

    UiApp t;
    std::unique_ptr<CSetupSheet> sheet;
};

const QStringList kDefaultFaults = {QStringLiteral("001: Steering angle sensor signal out of"),
                                    QStringLiteral("003: Supply voltage low")};

} // namespace

TEST(FaultContents, ListsTheActiveFaultsAndViewsTheSelectedOne)
{
    FaultRig r;
    CFaultContents& page = r.Page();
    EXPECT_EQ(kDefaultFaults, r.Listed());
    EXPECT_TRUE(page.ViewButton()->isEnabled() && page.SaveButton()->isEnabled() && page.ClearButton()->isEnabled());
    QStringList details;
    r.t.onModal = [&](QDialog& d) {
        details << d.windowTitle() << static_cast<CFaultDetailsDlg&>(d).Text();
        return static_cast<int>(QDialog::Accepted);
    };
    page.ViewButton()->click(); // nothing selected
    EXPECT_TRUE(r.t.modal.empty());

    r.Select(0);
    page.ViewButton()->click();
    ASSERT_EQ(2, details.size());
    EXPECT_EQ(QStringLiteral("Fault Detailed Information"), details[0]);
    // The whole description, where the list cuts it.
    EXPECT_EQ(QStringLiteral("Fault#:\t\t001\n\nDescription: \tSteering angle sensor signal out of range\n\n"
                             "Fault Data:\n\t\t4.750000\n\t\t0.120000\n\t\t-1.500000\n\nCount:\t\t003\n\n\n"),
              details[1]);
    r.Select(1);
    emit page.List()->itemDoubleClicked(page.List()->item(1));
    ASSERT_EQ(4, details.size());
    EXPECT_TRUE(details[3].startsWith(QStringLiteral("Fault#:\t\t003\n\nDescription: \tSupply voltage low\n")));
    EXPECT_TRUE(r.t.notifier.shown.empty());
}

TEST(FaultContents, ClearTakesTheFaultOffTheList)
{
    FaultRig r;
    r.Select(1);
    r.Page().ClearButton()->click();
    EXPECT_EQ(QStringList{kDefaultFaults[0]}, r.Listed());
    bool active = true;
    r.t.app->Simulator()->WithController([&](sim::CSimController& s) { active = s.Feature<sim::CFaultFeature>().Slots().at(3).active; });
    EXPECT_FALSE(active);
    EXPECT_TRUE(r.t.notifier.shown.empty());
}

TEST(FaultContents, NoActiveFaultsListNoFaultsAndDisableTheActions)
{
    FaultRig r(SimWith({{"faults", "0"}}));
    EXPECT_EQ(QStringList{QStringLiteral("No Faults")}, r.Listed());
    EXPECT_FALSE(r.Page().ViewButton()->isEnabled());
    EXPECT_FALSE(r.Page().SaveButton()->isEnabled());
    EXPECT_FALSE(r.Page().ClearButton()->isEnabled());
    EXPECT_TRUE(r.Page().RefreshButton()->isEnabled());
}

TEST(FaultContents, SaveToDiskFromTheSetupCommandWritesTheReport)
{
    UiApp t;
    t.UseSimulator();
    CToolboxDlg& dlg = t.Start();
    FileScript files;
    t.app->Context().files = &files;
    const QDir config(QString::fromStdString(t.app->Directories().ConfigurationDir()));
    files.answers = {QString(), config.filePath(QStringLiteral("faults.txt"))};
    t.onModal = [](QDialog& d) {
        auto& sheet = dynamic_cast<CSetupSheet&>(d);
        WhenRunning([&sheet] {
            sheet.SetActivePage(3);
            sheet.Faults()->SaveButton()->click(); // cancelled
            sheet.Faults()->SaveButton()->click();
            sheet.reject();
        });
        return d.exec();
    };
    t.notifier.shown.clear();
    dlg.OnCommand(cmd::kEditSetup);

    ASSERT_EQ(2u, files.requests.size());
    EXPECT_EQ(FileDialogMode::Save, files.requests[1].mode);
    EXPECT_EQ(config, QDir(QString::fromStdString(files.requests[1].directory)));
    EXPECT_EQ(QStringLiteral("Verovevevero Fault Table Files (*.TXT *.txt);;All Files (*)"),
              QtFileFilter(QString::fromStdString(files.requests[1].filter)));
    EXPECT_EQ("txt", files.requests[1].defaultSuffix);
    const std::string report = ReadAll(config.filePath(QStringLiteral("faults.txt")).toStdString());
    EXPECT_EQ(0u, report.find("\r\n*** Verovevevero Fault Code Download File ***\r\n\r\nCurrent Date: "));
    const std::string dashes = std::string(36, '-') + "\r\n";
    const std::size_t first = report.find(dashes + dashes + "\r\nFault#:\t\t001\r\n");
    const std::size_t second = report.find(dashes + dashes + "\r\nFault#:\t\t003\r\n");
    EXPECT_LT(first, second);
    EXPECT_NE(std::string::npos, second);
    EXPECT_TRUE(report.ends_with("\r\n\r\nCount:\t\t001\r\n\r\n\r\n")) << "nothing after the last fault";
    ASSERT_EQ(1u, t.notifier.shown.size());
    EXPECT_EQ("Fault information saved successfully", t.notifier.shown[0].text);
    EXPECT_EQ("Save Complete", t.notifier.shown[0].caption);
}
