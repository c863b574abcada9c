// The configuration sheet and its pages on the offscreen platform, against
// the simulator: the contents list, the vehicle model's prompts and
// restart, a range check that keeps the page open, rules applied as the
// user chooses, and the radio's wait after saving.

#include "FileScript.h"
#include "SimFixture.h"
#include "UiFixture.h"

#include "app/ui/SetupSheet.h"
#include "config/ui/CfgPages.h"
#include "config/ui/CfgVehicleModelPage.h"
#include "config/ui/ConfigContentsPage.h"
#include "config/ui/ConfigSheet.h"
#include "pages/DataDirectories.h"
#include "pages/ui/FieldBinder.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

sim::SimOptions QuickRestart(std::initializer_list<std::pair<const char*, const char*>> extra = {})
{
    sim::SimOptions o = SimWith(extra);
    o.settings.restartTime = 300ms;
    return o;
}

// The configuration sheet, shown at one of its pages.
struct SheetRig {
    explicit SheetRig(sim::SimOptions o = QuickRestart())
    {
        t.UseSimulator(std::move(o));
        t.Start();
        t.notifier.shown.clear();
        sheet = std::make_unique<CConfigSheet>(t.app->Context());
        sheet->VehicleModelPage()->SetRestartPause(0ms);
    }
    ~SheetRig()
    {
        if (sheet->isVisible())
            sheet->done(QDialog::Rejected);
    }
    void ShowAt(CHCPropertyPage* page)
    {
        sheet->SetActivePage(page);
        sheet->show();
        t.notifier.shown.clear();
    }
    template <typename W> W* Control(CHCPropertyPage* page, const char* id)
    {
        return qobject_cast<W*>(page->Fields()->Control(id));
    }

    UiApp t;
    std::unique_ptr<CConfigSheet> sheet;
};

} // namespace

TEST(ConfigContents, ListsThePagesAndOpensTheChosenOneThenAsksForARebuild)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    CSetupSheet setup(t.app->Context());
    setup.show();
    CConfigContentsPage& contents = *setup.ConfigContents();
    ASSERT_EQ(9, contents.List()->count());
    EXPECT_EQ(QStringLiteral("Radio Network ID"), contents.List()->item(8)->text());
    std::vector<int> startedAt;
    t.onModal = [&](QDialog& d) {
        auto& sheet = dynamic_cast<CConfigSheet&>(d);
        startedAt.push_back(sheet.GetActiveIndex());
        return static_cast<int>(QDialog::Rejected);
    };
    contents.OpenButton()->click(); // nothing selected: the first page
    contents.List()->setCurrentRow(5);
    emit contents.List()->itemDoubleClicked(contents.List()->item(5));
    EXPECT_EQ((std::vector<int>{0, 5}), startedAt);
    EXPECT_EQ(kConfigContentsResult, setup.result());
}

TEST(VehicleModelPage, ChoosingFromTheListAsksThenRestartsTheController)
{
    SheetRig r;
    CCfgVehicleModelPage* page = r.sheet->VehicleModelPage();
    r.ShowAt(page);
    auto* list = r.Control<QComboBox>(page, "vehicleList");
    ASSERT_TRUE(list);
    EXPECT_EQ(QStringLiteral("Fieldora 8240W"), list->currentText());
    EXPECT_EQ(5, list->count()) << "the entry without a name is left out";

    list->setCurrentIndex(list->findText(QStringLiteral("Tracmor 9RT")));
    EXPECT_TRUE(page->IsPageModified());
    r.t.notifier.answers = {MsgAnswer::No};
    r.sheet->SetActivePage(r.sheet->DisplayPage());
    EXPECT_EQ((std::vector<std::string>{"Select Vehicle Model Now?"}), r.t.notifier.Texts());
    EXPECT_FALSE(page->IsPageModified());
    EXPECT_EQ("3", r.t.Param("vti"));

    r.sheet->SetActivePage(page);
    list->setCurrentIndex(list->findText(QStringLiteral("Tracmor 9RT")));
    r.t.notifier.shown.clear();
    page->SelectButton()->click(); // the sheet's OK
    EXPECT_FALSE(r.sheet->isVisible());
    EXPECT_EQ((std::vector<std::string>{"Select Vehicle Model Now?", kResetText}), r.t.notifier.Texts());
    EXPECT_EQ("1", r.t.Param("vti"));
    EXPECT_EQ("2", r.t.Param("vtt"));
}

TEST(VehicleModelPage, AProfileIsBrowsedForShownAndUploaded)
{
    SheetRig r;
    FileScript files;
    r.t.app->Context().files = &files;
    const std::string path = r.t.app->Directories().VehicleDatabaseDir() + "/artic.vdb";
    WriteAll(path, "vms: \"Orlic Artic 9\"\r\nvtt: 2\r\n");
    files.answers = {QString::fromStdString(path)};
    CCfgVehicleModelPage* page = r.sheet->VehicleModelPage();
    r.ShowAt(page);
    EXPECT_TRUE(page->RefreshButton()->isVisible());
    qobject_cast<QAbstractButton*>(page->findChild<QWidget*>(QStringLiteral("mode1")))->click();
    EXPECT_TRUE(page->BrowseButton()->isVisible());
    EXPECT_FALSE(page->SelectButton()->isEnabled()) << "nothing loaded yet";
    page->BrowseButton()->click();
    ASSERT_EQ(1u, files.requests.size());
    EXPECT_EQ(r.t.app->Directories().VehicleDatabaseDir(), files.requests[0].directory);
    EXPECT_EQ(kVehicleProfileFilter, files.requests[0].filter);
    EXPECT_EQ("vdb", files.requests[0].defaultSuffix);
    EXPECT_EQ(QStringLiteral("Orlic Artic 9"), r.Control<QLineEdit>(page, "profileModel")->text());
    EXPECT_TRUE(page->SelectButton()->isEnabled());

    r.sheet->OnOK();
    // The setup the profile replaced was saved first, and the last box says where.
    const QDir backups(QString::fromStdString(r.t.app->Directories().ConfigurationDir() + "/Backups"));
    ASSERT_EQ(1, backups.entryList(QDir::Files).size());
    EXPECT_EQ((std::vector<std::string>{"Select Vehicle Model Now?", kResetText,
                                        "Vehicle profile uploaded successfully\r\n\r\nThe previous setup was saved to " +
                                            backups.filePath(backups.entryList(QDir::Files)[0]).toStdString()}),
              r.t.notifier.Texts());
    EXPECT_EQ("\"Orlic Artic 9\"", r.t.Param("vms"));
    EXPECT_EQ("2", r.t.Param("vtt"));
}

TEST(VehicleModelPage, AnEntryChosenThenTheExternalFileLeavesSelectDisabledAndAsksNothing)
{
    SheetRig r;
    CCfgVehicleModelPage* page = r.sheet->VehicleModelPage();
    r.ShowAt(page);
    auto* list = r.Control<QComboBox>(page, "vehicleList");
    list->setCurrentIndex(list->findText(QStringLiteral("Tracmor 9RT")));
    EXPECT_TRUE(page->SelectButton()->isEnabled());
    qobject_cast<QAbstractButton*>(page->findChild<QWidget*>(QStringLiteral("mode1")))->click();
    EXPECT_FALSE(page->SelectButton()->isEnabled()) << "no profile loaded: nothing to apply";
    r.sheet->OnOK();
    EXPECT_FALSE(r.sheet->isVisible());
    EXPECT_EQ(std::vector<std::string>{}, r.t.notifier.Texts()) << "no question whose Yes does nothing";
    EXPECT_EQ("3", r.t.Param("vti"));
}

TEST(VehicleModelPage, ABrowseThatFailsKeepsTheProfileShownLoadedAndOffered)
{
    SheetRig r;
    FileScript files;
    r.t.app->Context().files = &files;
    const std::string dir = r.t.app->Directories().VehicleDatabaseDir();
    WriteAll(dir + "/artic.vdb", "vms: \"Orlic Artic 9\"\r\nvtt: 2\r\n");
    WriteAll(dir + "/novms.vdb", "vtt: 2\r\n");
    files.answers = {QString::fromStdString(dir + "/artic.vdb"), QString::fromStdString(dir + "/novms.vdb")};
    CCfgVehicleModelPage* page = r.sheet->VehicleModelPage();
    r.ShowAt(page);
    qobject_cast<QAbstractButton*>(page->findChild<QWidget*>(QStringLiteral("mode1")))->click();
    page->BrowseButton()->click();
    page->BrowseButton()->click();
    EXPECT_EQ(std::vector<std::string>{"Error: Invalid Vehicle Profile "}, r.t.notifier.Texts());
    EXPECT_EQ(QStringLiteral("Orlic Artic 9"), r.Control<QLineEdit>(page, "profileModel")->text());
    ASSERT_TRUE(page->SelectButton()->isEnabled());
    r.t.notifier.shown.clear();
    page->SelectButton()->click();
    EXPECT_FALSE(r.sheet->isVisible());
    ASSERT_GE(r.t.notifier.Texts().size(), 2u);
    EXPECT_EQ("Select Vehicle Model Now?", r.t.notifier.Texts()[0]);
    EXPECT_EQ(kResetText, r.t.notifier.Texts()[1]);
    EXPECT_EQ("\"Orlic Artic 9\"", r.t.Param("vms")) << "the profile loaded first was uploaded";
}

TEST(OperationPage, ATypedDistanceOutOfRangeKeepsThePageOpenOnTheField)
{
    SheetRig r(QuickRestart());
    r.t.app->Simulator()->WithController([](sim::CSimController& s) { s.Params().Set("dsu", "3"); });
    CCfgOperationPage* page = r.sheet->OperationPage();
    r.ShowAt(page);
    auto* distance = r.Control<QAbstractSpinBox>(page, "endOfRow");
    ASSERT_TRUE(distance);
    EXPECT_EQ(QStringLiteral("90"), distance->text()) << "30 m is 98.4 ft, snapped to 90";
    distance->findChild<QLineEdit*>()->setText(QStringLiteral("47"));
    distance->stepUp();
    EXPECT_EQ(QStringLiteral("90"), distance->text());
    distance->findChild<QLineEdit*>()->setText(QStringLiteral("1000"));
    r.sheet->OnOK();
    ASSERT_EQ(1u, r.t.notifier.shown.size());
    EXPECT_EQ("Please enter a number between 30 and 300.", r.t.notifier.shown[0].text);
    EXPECT_TRUE(r.sheet->isVisible());
    EXPECT_EQ(page, r.sheet->GetActivePage());
}

TEST(ConfigPages, RulesApplyAsTheUserChooses)
{
    SheetRig r;
    CCfgGPSPage* gps = r.sheet->GPSPage();
    r.ShowAt(gps);
    auto* receiver = r.Control<QComboBox>(gps, "receiver");
    auto* autoConfigure = r.Control<QCheckBox>(gps, "autoConfigure");
    ASSERT_TRUE(receiver && autoConfigure);
    EXPECT_FALSE(receiver->isEnabled()) << "acf 1";
    autoConfigure->click();
    EXPECT_TRUE(receiver->isEnabled());
    EXPECT_EQ(QStringLiteral("RTK"), r.Control<QComboBox>(gps, "correction")->currentText());

    CCfgLightbarPage* lightbar = r.sheet->LightbarPage();
    r.t.notifier.answers = {MsgAnswer::No};
    r.sheet->SetActivePage(lightbar);
    auto* spacing = r.Control<QLineEdit>(lightbar, "ledSpacing");
    auto* end = r.Control<QComboBox>(lightbar, "endDistance");
    ASSERT_TRUE(spacing && end);
    EXPECT_EQ(QStringLiteral("1.70 m (linear)"), end->itemText(0));
    spacing->selectAll();
    QTest::keyClicks(spacing, QStringLiteral("0.2"));
    EXPECT_EQ(QStringLiteral("3.40 m (linear)"), end->itemText(0));
    EXPECT_TRUE(r.t.notifier.shown.size() <= 1u) << "no box while typing";
}

TEST(RadioPage, SavingKeepsTheWaitCursorAndTheWindowPainting)
{
    SheetRig r;
    struct : IBusyIndicator {
        void SetBusy(bool busy) override { depth += busy ? 1 : -1; }
        int depth = 0;
    } waitCursor;
    r.t.app->Context().busy = &waitCursor;
    CCfgRadioPage* radio = r.sheet->RadioPage();
    radio->Model().saveWait = 600ms;
    r.ShowAt(radio);
    auto* network = r.Control<QComboBox>(radio, "networkId");
    ASSERT_TRUE(network);
    EXPECT_EQ(33, network->count());
    EXPECT_EQ(QStringLiteral("Network 5"), network->currentText());
    network->setCurrentIndex(7);
    int calls = 0;
    int busyCalls = 0;
    const auto started = std::chrono::steady_clock::now();
    {
        CQueuedRepeater repeater(50ms, [&] {
            ++calls;
            busyCalls += waitCursor.depth > 0;
        });
        r.sheet->OnOK();
    }
    EXPECT_GE(std::chrono::steady_clock::now() - started, 600ms);
    EXPECT_EQ("7", r.t.Param("rni"));
    EXPECT_GE(busyCalls, 5) << "the window went on handling events under the wait cursor; calls " << calls;
    EXPECT_EQ(0, waitCursor.depth);
}
