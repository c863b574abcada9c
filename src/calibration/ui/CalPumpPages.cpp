#include "calibration/ui/CalPumpPages.h"

#include "calibration/CalibrationFields.h"
#include "calibration/CalibrationPages.h"
#include "pages/ui/UiContext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

namespace {

// The grid of a page's left and right values, headed "Left" and "Right".
QGridLayout* AddSidesGrid(QVBoxLayout* body, QWidget* parent)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->addWidget(new QLabel(QString::fromLatin1(kLeftSideText), parent), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QString::fromLatin1(kRightSideText), parent), 0, 2, Qt::AlignHCenter);
    grid->setColumnStretch(3, 1);
    body->addLayout(grid);
    return grid;
}

CStepArrowsEdit* MakeKneeEdit(QWidget* parent, const char* name)
{
    auto* edit = new CStepArrowsEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 12);
    return edit;
}

QLineEdit* MakeGainEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 10);
    return edit;
}

} // namespace

// ---------------------------------------------------------------- pump knees

CCalHydTrackedPumpKneePage::CCalHydTrackedPumpKneePage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::HydTrackedPumpKnee), HeadingOf(CalPage::HydTrackedPumpKnee), parent),
      cal_(context, Params())
{
    setWindowTitle(QStringLiteral("Pump Knee"));
    instruction_ = MakeInstructionLabel(this, "instruction", 3);
    Body()->addWidget(instruction_);

    QGridLayout* grid = AddSidesGrid(Body(), this);
    leftKnee_ = MakeKneeEdit(this, "leftKnee");
    rightKnee_ = MakeKneeEdit(this, "rightKnee");
    AddSidesRow(grid, 1, this, QStringLiteral("Pump Knee:"), leftKnee_, rightKnee_);
    leftSaved_ = MakeValueField(this, "leftSavedKnee");
    rightSaved_ = MakeValueField(this, "rightSavedKnee");
    AddSidesRow(grid, 2, this, QString::fromLatin1(kSavedKneeLabel), leftSaved_, rightSaved_);
    turnRateLabel_ = new QLabel(QStringLiteral("Current turn rate:"), this);
    turnRate_ = MakeValueField(this, "turnRate");
    turnRateLabel_->setBuddy(turnRate_);
    grid->addWidget(turnRateLabel_, 3, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(turnRate_, 3, 1);
    KeepRoomWhenHidden(turnRateLabel_);
    KeepRoomWhenHidden(turnRate_);

    for (const bool left : {true, false}) {
        CStepArrowsEdit* edit = KneeEdit(left);
        edit->onStep = [this, left](int stepsUp) { cal_.Spin(left, stepsUp); };
        connect(edit->Edit(), &QLineEdit::textEdited, this,
                [this, left](const QString& text) { cal_.EnterKnee(left, text.toStdString()); });
        connect(edit, &QAbstractSpinBox::editingFinished, this, [this, left] { TakeKnee(left); });
    }

    auto* buttons = new QHBoxLayout;
    next_ = AddButton(QString(), "next", [this] { cal_.Next(); });
    turnLeft_ = AddButton(QStringLiteral("Turn Left"), "turnLeft", [this] { cal_.Turn(true); });
    turnRight_ = AddButton(QStringLiteral("Turn Right"), "turnRight", [this] { cal_.Turn(false); });
    for (QPushButton* button : {next_, turnLeft_, turnRight_})
        buttons->addWidget(button);
    buttons->addStretch(1);
    Body()->addLayout(buttons);
    Body()->addStretch(1);

    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalHydTrackedPumpKneePage::ShowState()
{
    instruction_->setText(QString::fromLatin1(cal_.Instruction()));
    next_->setText(QString::fromLatin1(cal_.NextText()));
    next_->setEnabled(cal_.NextEnabled());
    next_->setVisible(cal_.NextShown());
    for (const bool left : {true, false}) {
        QPushButton* turn = TurnButton(left);
        turn->setVisible(cal_.TurnShown());
        turn->setText(QString::fromLatin1(cal_.TurnText(left)));
        turn->setEnabled(cal_.TurnEnabled(left));
    }
    turnRateLabel_->setVisible(cal_.TurnShown());
    turnRate_->setVisible(cal_.TurnShown());
    turnRate_->setText(Q(cal_.TurnRateText()));
    // Typing is never overwritten: the knees go into their fields only when
    // the procedure moved them.
    if (kneesShown_ != cal_.KneesMoved()) {
        kneesShown_ = cal_.KneesMoved();
        for (const bool left : {true, false})
            KneeEdit(left)->Edit()->setText(Q(ValueText(cal_.Knee(left))));
    }
    leftSaved_->setText(Q(ValueText(cal_.SavedKnee(true))));
    rightSaved_->setText(Q(ValueText(cal_.SavedKnee(false))));
}

bool CCalHydTrackedPumpKneePage::TakeKnee(bool left)
{
    const std::optional<std::string> refused = cal_.EnterKnee(left, KneeEdit(left)->Edit()->text().toStdString());
    if (!refused)
        return true;
    Context().notifier.Notify(*refused, kAppTitle, MsgButtons::Ok, MsgIcon::Exclamation);
    KneeEdit(left)->setFocus();
    return false;
}

bool CCalHydTrackedPumpKneePage::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    cal_.Init();
    return true;
}

bool CCalHydTrackedPumpKneePage::OnKillActive()
{
    if (!TakeKnee(true) || !TakeKnee(false))
        return false;
    cal_.Leave();
    return CHCPropertyPage::OnKillActive();
}

bool CCalHydTrackedPumpKneePage::OnQueryCancel()
{
    cal_.Cancel();
    return CHCPropertyPage::OnQueryCancel();
}

// ---------------------------------------------------------------- pump responses

CCalHydTrackedSteeringPump::CCalHydTrackedSteeringPump(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::HydTrackedSteeringPump), HeadingOf(CalPage::HydTrackedSteeringPump),
                      parent),
      cal_(context, Params())
{
    setWindowTitle(QStringLiteral("Pump Response"));
    instruction_ = MakeInstructionLabel(this, "instruction", 3);
    Body()->addWidget(instruction_);

    QGridLayout* grid = AddSidesGrid(Body(), this);
    leftGain_ = MakeGainEdit(this, "leftGain");
    rightGain_ = MakeGainEdit(this, "rightGain");
    AddSidesRow(grid, 1, this, QStringLiteral("Gain:"), leftGain_, rightGain_);
    leftSaved_ = MakeValueField(this, "leftSavedGain");
    rightSaved_ = MakeValueField(this, "rightSavedGain");
    AddSidesRow(grid, 2, this, QString::fromLatin1(kSavedPumpGainLabel), leftSaved_, rightSaved_);
    leftRise_ = MakeValueField(this, "leftRiseTime");
    rightRise_ = MakeValueField(this, "rightRiseTime");
    AddSidesRow(grid, 3, this, QStringLiteral("Rise Time:"), leftRise_, rightRise_);
    leftOvershoot_ = MakeValueField(this, "leftOvershoot");
    rightOvershoot_ = MakeValueField(this, "rightOvershoot");
    AddSidesRow(grid, 4, this, QStringLiteral("Overshoot:"), leftOvershoot_, rightOvershoot_);

    for (const bool left : {true, false}) {
        connect(GainEdit(left), &QLineEdit::textEdited, this,
                [this, left](const QString& text) { cal_.EnterGain(left, text.toStdString()); });
        connect(GainEdit(left), &QLineEdit::editingFinished, this, [this, left] { TakeGain(left); });
    }

    auto* buttons = new QHBoxLayout;
    next_ = AddButton(QStringLiteral("Next >>"), "next", [this] { cal_.Next(); });
    test_ = AddButton(QStringLiteral("Perform Response Test"), "performTest", [this] {
        if (TakeGain(true) && TakeGain(false))
            cal_.PerformTest();
    });
    buttons->addWidget(next_);
    buttons->addWidget(test_);
    buttons->addStretch(1);
    Body()->addLayout(buttons);
    Body()->addStretch(1);

    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalHydTrackedSteeringPump::ShowState()
{
    instruction_->setText(QString::fromLatin1(cal_.Instruction()));
    next_->setVisible(cal_.NextShown());
    test_->setVisible(cal_.TestShown());
    test_->setEnabled(cal_.TestEnabled());
    for (const bool left : {true, false})
        GainEdit(left)->setEnabled(cal_.GainsEnabled());
    if (gainsShown_ != cal_.GainsMoved()) {
        gainsShown_ = cal_.GainsMoved();
        for (const bool left : {true, false})
            GainEdit(left)->setText(Q(ValueText(cal_.Gain(left))));
    }
    leftSaved_->setText(Q(ValueText(cal_.SavedGain(true))));
    rightSaved_->setText(Q(ValueText(cal_.SavedGain(false))));
    leftRise_->setText(Q(cal_.RiseTimeText(true)));
    rightRise_->setText(Q(cal_.RiseTimeText(false)));
    leftOvershoot_->setText(Q(cal_.OvershootText(true)));
    rightOvershoot_->setText(Q(cal_.OvershootText(false)));
}

bool CCalHydTrackedSteeringPump::TakeGain(bool left)
{
    const std::optional<std::string> refused = cal_.EnterGain(left, GainEdit(left)->text().toStdString());
    if (!refused)
        return true;
    Context().notifier.Notify(*refused, kAppTitle, MsgButtons::Ok, MsgIcon::Exclamation);
    GainEdit(left)->setFocus();
    return false;
}

bool CCalHydTrackedSteeringPump::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    cal_.Init();
    return true;
}

bool CCalHydTrackedSteeringPump::OnSetActive()
{
    cal_.Show();
    return CHCPropertyPage::OnSetActive();
}

bool CCalHydTrackedSteeringPump::OnKillActive()
{
    if (!TakeGain(true) || !TakeGain(false))
        return false;
    cal_.Leave();
    return CHCPropertyPage::OnKillActive();
}

bool CCalHydTrackedSteeringPump::OnQueryCancel()
{
    cal_.Cancel();
    return CHCPropertyPage::OnQueryCancel();
}

} // namespace halcyra
