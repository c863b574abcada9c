#include "config/ui/CfgPages.h"

#include "config/ConfigurationPages.h"
#include "pages/ui/UiContext.h"

#include <QVBoxLayout>

namespace halcyra {

namespace {

// The tab shows the page's dialog caption; the contents list its name.
void Name(CHCPropertyPage& page, ConfigPage which) { page.SetPageName(ConfigPageTitle(which)); }

QString Heading(ConfigPage page) { return QString::fromLatin1(ConfigPageHeading(page)); }

} // namespace

// ---------------------------------------------------------------- display

CCfgDisplayPage::CCfgDisplayPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Display"), Heading(ConfigPage::Display), parent),
      model_(Logic())
{
    Name(*this, ConfigPage::Display);
    DescribeFields(model_.Fields());
    Body()->addStretch(1);
}

bool CCfgDisplayPage::OnKillActive()
{
    if (!UpdateMembers())
        return false;
    if (model_.Leave(Link()))
        ResetControllerAndWait();
    return true;
}

// ---------------------------------------------------------------- sensors

CCfgSensorsPage::CCfgSensorsPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Sensors"), Heading(ConfigPage::Sensors), parent),
      model_(Logic())
{
    Name(*this, ConfigPage::Sensors);
    DescribeFields(model_.Fields(), [this] { model_.Rules(); });
    Body()->addStretch(1);
}

bool CCfgSensorsPage::OnSetActive()
{
    model_.BeforeActivation(Link());
    return CHCPropertyPage::OnSetActive();
}

// ---------------------------------------------------------------- DoroZiriv

CCfgDoroZirivPage::CCfgDoroZirivPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("DoroZiriv"), Heading(ConfigPage::DoroZiriv),
                      parent),
      model_(Logic())
{
    Name(*this, ConfigPage::DoroZiriv);
    DescribeFields(model_.Fields());
    Body()->addStretch(1);
}

bool CCfgDoroZirivPage::OnKillActive()
{
    if (!UpdateMembers())
        return false;
    model_.Leave(Link());
    return true;
}

// ---------------------------------------------------------------- operation

CCfgOperationPage::CCfgOperationPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Operation"), Heading(ConfigPage::Operation), parent),
      model_(Logic())
{
    Name(*this, ConfigPage::Operation);
    DescribeFields(model_.Fields());
    Body()->addStretch(1);
}

bool CCfgOperationPage::UpdateMembers()
{
    if (!CHCPropertyPage::UpdateMembers())
        return false;
    model_.BeforeLeave();
    return true;
}

// ---------------------------------------------------------------- lightbar

CCfgLightbarPage::CCfgLightbarPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Lightbar"), Heading(ConfigPage::Lightbar), parent),
      model_(Logic())
{
    Name(*this, ConfigPage::Lightbar);
    DescribeFields(model_.Fields(), [this] { model_.Rules(); });
    Body()->addStretch(1);
}

// ---------------------------------------------------------------- GPS

CCfgGPSPage::CCfgGPSPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("GPS"), Heading(ConfigPage::GPS), parent),
      model_(Logic())
{
    Name(*this, ConfigPage::GPS);
    DescribeFields(model_.Fields(), [this] { model_.Rules(); });
    Body()->addStretch(1);
}

bool CCfgGPSPage::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    model_.BuildLists(Link());
    UpdateControls();
    return true;
}

// ---------------------------------------------------------------- radio

CCfgRadioPage::CCfgRadioPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Radio"), Heading(ConfigPage::Radio), parent),
      model_(Logic())
{
    Name(*this, ConfigPage::Radio);
    DescribeFields(model_.Fields());
    Body()->addStretch(1);
}

bool CCfgRadioPage::OnSetActive()
{
    model_.CheckRadio(Link(), *Context().busy);
    return CHCPropertyPage::OnSetActive();
}

bool CCfgRadioPage::OnKillActive()
{
    if (!UpdateMembers())
        return false;
    model_.Leave(Link(), *Context().busy);
    return true;
}

// ---------------------------------------------------------------- valve-on speed

CCfgLowSpeedPage::CCfgLowSpeedPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Valve On Speed"), Heading(ConfigPage::LowSpeed), parent)
{
    Name(*this, ConfigPage::LowSpeed);
    DescribeFields(model_.Fields());
    Body()->addStretch(1);
}

bool CCfgLowSpeedPage::OnSetActive()
{
    model_.Read(Link(), Logic().units.UnitIndex());
    return CHCPropertyPage::OnSetActive();
}

bool CCfgLowSpeedPage::OnKillActive()
{
    if (!UpdateMembers())
        return false;
    model_.Leave(Link());
    return CHCPropertyPage::OnKillActive();
}

} // namespace halcyra
