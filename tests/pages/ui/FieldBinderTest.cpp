// A page described as fields: the binder builds its controls, shows the
// values, applies enabling rules as the user chooses, and refuses a typed
// value out of range with the page kept open on the field.

#include "UiFixture.h"

#include "link/ControllerLink.h"
#include "pages/ui/FieldBinder.h"
#include "pages/ui/HCPropertyPage.h"
#include "pages/ui/HCPropertySheet.h"
#include "pages/ui/ScreenListing.h"
#include "setup/ui/InformationPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace halcyra;
using namespace halcyra::test;

namespace {

class CDescribedPage : public CHCPropertyPage {
public:
    explicit CDescribedPage(CUiContext& context)
        : CHCPropertyPage(context, QStringLiteral("Described"), QStringLiteral("Described:")), lbi("lbi", &Params()),
          vtt("vtt", &Params())
    {
        DescribeFields({
            field::Check("lightbar", "Lightbar fitted", CFieldValue::Number(fitted)),
            field::Edit("brightness", "Brightness:", CFieldValue::Number(lbi))
                .Range(1, 10)
                .Unit("steps")
                .EnabledWhen([this] { return fitted == 1; }),
            field::ComboData("vehicle", "Vehicle type:", CFieldValue::Number(vtt),
                             {{"Tracked", 2}, {"Wheeled", 5}, {"Implement", 8}}),
        });
    }
    CUIntParam lbi;
    CUIntParam vtt;
    int fitted = 0;
};

} // namespace

TEST(FieldBinder, ShowsValuesAppliesRulesAndRefusesOutOfRangeTyping)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    t.notifier.shown.clear();
    CHCPropertySheet sheet(QStringLiteral("Fields"));
    auto* page = new CDescribedPage(t.app->Context());
    sheet.AddPage(page);
    sheet.show();

    auto* check = qobject_cast<QCheckBox*>(page->Fields()->Control("lightbar"));
    auto* brightness = qobject_cast<QLineEdit*>(page->Fields()->Control("brightness"));
    auto* vehicle = qobject_cast<QComboBox*>(page->Fields()->Control("vehicle"));
    ASSERT_TRUE(check && brightness && vehicle);
    EXPECT_EQ(QString::fromStdString(t.Param("lbi")), brightness->text());
    EXPECT_EQ(QStringLiteral("Wheeled"), vehicle->currentText()) << "vtt 5 by item data";
    EXPECT_FALSE(brightness->isEnabled());

    check->click(); // the user's choice is stored at once and the rule follows
    EXPECT_EQ(1, page->fitted);
    EXPECT_TRUE(brightness->isEnabled());
    vehicle->setCurrentIndex(2);
    EXPECT_EQ(8u, page->vtt.value);

    brightness->setText(QStringLiteral("12"));
    t.notifier.answers = {MsgAnswer::No};
    sheet.OnOK();
    ASSERT_EQ(1u, t.notifier.shown.size());
    EXPECT_EQ("Please enter a number between 1 and 10.", t.notifier.shown[0].text);
    EXPECT_TRUE(sheet.isVisible()) << "the page stays open on the field";
    EXPECT_TRUE(brightness->hasFocus() || QApplication::focusWidget() == nullptr);

    brightness->setText(QStringLiteral("7"));
    t.notifier.answers = {MsgAnswer::Yes};
    sheet.OnOK();
    EXPECT_EQ("Save Changes?", t.notifier.shown.back().text);
    EXPECT_EQ("7", t.Param("lbi"));
    EXPECT_EQ("8", t.Param("vtt"));
}

TEST(ScreenListing, TheInformationPageAsText)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    CHCPropertySheet sheet(QStringLiteral("Halcyra Toolbox Information"));
    sheet.AddPage(new CInformationPage(t.app->Context()));
    sheet.show();
    QApplication::processEvents();
    EXPECT_EQ(QStringLiteral("window\t\"Halcyra Toolbox Information\"\n"
                             "tabs\t\"Information\"\t\"Information\"\tenabled\n"
                             "label\t\"Halcyra Information:\"\t\"\"\tenabled\n"
                             "text\t\"Serial Number:\"\t\"HC2-0042137\"\tenabled\n"
                             "text\t\"Application Version:\"\t\"2.86\"\tenabled\n"
                             "text\t\"Application Date:\"\t\"7/2/2009\"\tenabled\n"
                             "text\t\"Options Installed:\"\t\"Logging, IMU, Lightbar, RTK\"\tenabled\n"
                             "text\t\"Vehicle Model:\"\t\"Fieldora 8240W\"\tenabled\n"
                             "text\t\"Monitor Version:\"\t\"3.05\"\tenabled\n"
                             "text\t\"Monitor Date:\"\t\"7/2/9\"\tenabled\n"
                             "button\t\"OK\"\t\"\"\tenabled\n"
                             "button\t\"Cancel\"\t\"\"\tenabled\n"
                             "button\t\"Apply\"\t\"\"\tdisabled\n"),
              ListControls(sheet));
    sheet.done(QDialog::Rejected);
}
