#include "calibration/ui/CalPGainPage.h"

#include "calibration/CalibrationFields.h"
#include "calibration/CalibrationPages.h"
#include "calibration/ui/CalPageParts.h"
#include "pages/ui/UiContext.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

CCalPGainPage::CCalPGainPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QString::fromLatin1(CalPageInfoOf(CalPage::PGain).title),
                      QString::fromLatin1(CalPageInfoOf(CalPage::PGain).heading), parent),
      cal_(context, Params())
{
    setWindowTitle(QStringLiteral("Steering Proportional Gain"));
    instruction_ = MakeInstructionLabel(this, "instruction", 2);
    Body()->addWidget(instruction_);

    DescribeFields({
        SavedGainField(CFieldValue::ComputedText([this] { return cal_.Shown().savedGain; })),
        field::ReadOnly("slewTime", "Slew Time:", CFieldValue::ComputedText([this] { return cal_.Shown().slew; })),
        field::ReadOnly("overshoot", "Overshoot:", CFieldValue::ComputedText([this] { return cal_.Shown().overshoot; })),
    });
    // The gain heads the form: typed and stepped, it is the page's own control.
    gain_ = new CStepArrowsEdit(this);
    gain_->setObjectName(QStringLiteral("gain"));
    gain_->setMinimumWidth(gain_->fontMetrics().averageCharWidth() * 14);
    auto* gainLabel = new QLabel(QStringLiteral("Gain:"), this);
    gainLabel->setBuddy(gain_);
    if (QFormLayout* form = NarrowFieldForm(Body()))
        form->insertRow(0, gainLabel, gain_);
    gain_->onStep = [this](int stepsUp) { cal_.Spin(stepsUp); };
    gain_->onFocus = [this] { cal_.BeginEditing(); };
    connect(gain_->Edit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { cal_.EnterGain(text.toStdString(), false); });
    connect(gain_, &QAbstractSpinBox::editingFinished, this, [this] { TakeGain(); });

    auto* buttons = new QHBoxLayout;
    next_ = AddButton(QStringLiteral("Next >>"), "next", [this] { cal_.Next(); });
    left_ = AddButton(QStringLiteral("Turn Left"), "turnLeft", [this] { cal_.Turn(true); });
    right_ = AddButton(QStringLiteral("Turn Right"), "turnRight", [this] { cal_.Turn(false); });
    buttons->addWidget(next_);
    buttons->addWidget(left_);
    buttons->addWidget(right_);
    buttons->addStretch(1);
    Body()->addLayout(buttons);
    Body()->addStretch(1);

    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalPGainPage::ShowState()
{
    instruction_->setText(QString::fromLatin1(cal_.Instruction()));
    next_->setVisible(cal_.NextShown());
    left_->setVisible(cal_.TurnShown());
    right_->setVisible(cal_.TurnShown());
    left_->setEnabled(cal_.TurnEnabled());
    right_->setEnabled(cal_.TurnEnabled());
    gain_->setEnabled(cal_.GainEnabled());
    // Values reach the fields only when the procedure moves them there, so
    // typing in the gain field is never overwritten by a poll.
    if (fieldsShown_ != cal_.FieldsMoved()) {
        fieldsShown_ = cal_.FieldsMoved();
        gain_->Edit()->setText(Q(cal_.Shown().gain));
        UpdateControls();
    }
}

bool CCalPGainPage::TakeGain()
{
    if (!cal_.Editing())
        return true;
    const std::optional<std::string> refused = cal_.EnterGain(gain_->Edit()->text().toStdString(), true);
    if (!refused)
        return true;
    Context().notifier.Notify(*refused, kAppTitle, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

bool CCalPGainPage::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    cal_.Init();
    return true;
}

bool CCalPGainPage::OnSetActive()
{
    cal_.Show();
    return CHCPropertyPage::OnSetActive();
}

bool CCalPGainPage::OnKillActive()
{
    if (!TakeGain()) {
        gain_->setFocus();
        return false;
    }
    cal_.Leave();
    return CHCPropertyPage::OnKillActive();
}

bool CCalPGainPage::OnQueryCancel()
{
    cal_.Cancel();
    return CHCPropertyPage::OnQueryCancel();
}

} // namespace halcyra
