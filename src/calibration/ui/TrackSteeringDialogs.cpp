#include "calibration/ui/TrackSteeringDialogs.h"

#include "calibration/CalibrationFields.h"
#include "calibration/ui/CalPageParts.h"
#include "pages/ui/UiContext.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace halcyra {

namespace {

constexpr const char* kCaption = "Steering";

QLabel* MakeHeading(const QString& text, QWidget* parent)
{
    auto* heading = new QLabel(text, parent);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    return heading;
}

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// A row of buttons, pushed to the right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

QProgressBar* MakeBar(const char* name, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setOrientation(Qt::Vertical);
    bar->setTextVisible(false);
    bar->setFixedSize(22, 96);
    return bar;
}

// A bar refuses values outside its range; the controller's rates need not keep to it.
void SetBar(QProgressBar* bar, int minimum, int maximum, int value)
{
    bar->setRange(minimum, std::max(minimum, maximum));
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

} // namespace

QString TurnRateIndicatorPicture(TurnRateIndicator indicator)
{
    switch (indicator) {
    case TurnRateIndicator::Low:
        return QStringLiteral(":/res/turn-rate-low.png");
    case TurnRateIndicator::High:
        return QStringLiteral(":/res/turn-rate-high.png");
    case TurnRateIndicator::Centred:
        break;
    }
    return QStringLiteral(":/res/turn-rate-centred.png");
}

// ---------------------------------------------------------------- base

CTrackDialog::CTrackDialog(CUiContext& context, CCalProcedure* procedure, QWidget* parent)
    : CHCDialog(context, parent), procedure_(procedure)
{
    setWindowTitle(QString::fromLatin1(kCaption));
}

CTrackDialog::~CTrackDialog()
{
    if (!procedure_)
        return;
    procedure_->StopPolling();
    // The rules outlive the dialog, which must hear nothing more.
    procedure_->onChanged = nullptr;
}

void CTrackDialog::done(int result)
{
    if (procedure_)
        procedure_->StopPolling();
    CHCDialog::done(result);
}

// ---------------------------------------------------------------- gyro bias

CGyroBiasDlg::CGyroBiasDlg(CUiContext& context, CGyroBiasCal& cal, QWidget* parent)
    : CTrackDialog(context, &cal, parent), cal_(cal)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeHeading(QStringLiteral("Steering Calibration:"), this));
    for (int i = 0; i < kGyroBiasLines; ++i) {
        lines_[i] = MakeInstructionLabel(this, "line", 1);
        lines_[i]->setObjectName(QStringLiteral("line%1").arg(i + 1));
        lines_[i]->setText(QString::fromLatin1(GyroBiasLine(i)));
        layout->addWidget(lines_[i]);
    }
    next_ = MakeButton(QString(), "next", this);
    layout->addLayout(ButtonRow({next_}));
    OnClicked(next_, [this] {
        if (cal_.Press())
            done(kTrackDialogNext);
    });
    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CGyroBiasDlg::ShowState()
{
    for (int i = 0; i < kGyroBiasLines; ++i)
        lines_[i]->setEnabled(cal_.LineEnabled(i));
    next_->setText(QString::fromLatin1(cal_.ButtonText()));
    next_->setEnabled(cal_.ButtonEnabled());
    next_->setDown(cal_.ButtonDown());
}

// ---------------------------------------------------------------- instructions

CTrackInstructionsDlg::CTrackInstructionsDlg(CUiContext& context, TrackDialog dialog, QWidget* parent)
    : CTrackDialog(context, nullptr, parent), kind_(dialog)
{
    auto* layout = new QVBoxLayout(this);
    for (const char* line : TrackInstructionLines(dialog)) {
        QLabel* label = MakeInstructionLabel(this, "instruction", 2);
        label->setText(QString::fromLatin1(line));
        layout->addWidget(label);
    }
    next_ = MakeButton(QStringLiteral("Next >>"), "next", this);
    layout->addLayout(ButtonRow({next_}));
    OnClicked(next_, [this] { done(kTrackDialogNext); });
}

// ---------------------------------------------------------------- turn rates

CTurnRatePanel::CTurnRatePanel(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    leftRate_ = MakeValueField(this, "leftTurnRate", 8);
    rightRate_ = MakeValueField(this, "rightTurnRate", 8);
    auto* leftLabel = new QLabel(QStringLiteral("Left Turn Rate:"), this);
    auto* rightLabel = new QLabel(QStringLiteral("Right Turn Rate:"), this);
    leftLabel->setBuddy(leftRate_);
    rightLabel->setBuddy(rightRate_);
    grid->addWidget(leftLabel, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(leftRate_, 0, 1);
    grid->addWidget(rightLabel, 0, 3, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(rightRate_, 0, 4);

    leftBar_ = MakeBar("leftBar", this);
    rightBar_ = MakeBar("rightBar", this);
    indicator_ = new QLabel(this);
    indicator_->setObjectName(QStringLiteral("indicator"));
    indicator_->setAlignment(Qt::AlignCenter);
    indicator_->setPixmap(QPixmap(TurnRateIndicatorPicture(shown_)));
    grid->addWidget(leftBar_, 1, 1, Qt::AlignHCenter);
    grid->addWidget(indicator_, 1, 2, Qt::AlignCenter);
    grid->addWidget(rightBar_, 1, 4, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Left"), this), 2, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("Right"), this), 2, 4, Qt::AlignHCenter);
    grid->setColumnStretch(2, 1);
}

void CTurnRatePanel::Show(const CTurnRateTest& test)
{
    leftRate_->setText(Q(test.LeftRateText()));
    rightRate_->setText(Q(test.RightRateText()));
    SetBar(leftBar_, test.BarMinimum(), test.BarMaximum(), test.LeftBar());
    SetBar(rightBar_, test.BarMinimum(), test.BarMaximum(), test.RightBar());
    if (test.Indicator() != shown_) {
        shown_ = test.Indicator();
        indicator_->setPixmap(QPixmap(TurnRateIndicatorPicture(shown_)));
    }
}

// ---------------------------------------------------------------- bias

CTrackBiasDlg::CTrackBiasDlg(CUiContext& context, CTrackBiasCal& cal, std::function<void()> changeDeadband,
                             QWidget* parent)
    : CTrackDialog(context, &cal, parent), cal_(cal)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeHeading(QString::fromLatin1(kBiasHeading), this));

    auto* sliderRow = new QHBoxLayout;
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("biasSlider"));
    slider_->setRange(cal.Slider().minimum, cal.Slider().maximum);
    slider_->setSingleStep(1);
    slider_->setPageStep(1);
    slider_->setMinimumWidth(slider_->fontMetrics().averageCharWidth() * 40);
    bias_ = new CStepArrowsEdit(this);
    bias_->setObjectName(QStringLiteral("bias"));
    bias_->Edit()->setReadOnly(true);
    bias_->setMinimumWidth(bias_->fontMetrics().averageCharWidth() * 9);
    sliderRow->addWidget(slider_, 1);
    sliderRow->addWidget(bias_);
    layout->addLayout(sliderRow);
    connect(slider_, &QSlider::valueChanged, this, [this](int position) { cal_.MoveSlider(position); });
    bias_->onStep = [this](int stepsUp) { cal_.Spin(stepsUp); };

    panel_ = new CTurnRatePanel(this);
    layout->addWidget(panel_);

    turnLeft_ = MakeButton(QStringLiteral("Turn Left"), "turnLeft", this);
    turnRight_ = MakeButton(QStringLiteral("Turn Right"), "turnRight", this);
    QPushButton* restore = MakeButton(QStringLiteral("Restore Saved"), "restoreSaved", this);
    layout->addLayout(ButtonRow({turnLeft_, turnRight_, restore}));
    OnClicked(turnLeft_, [this] { cal_.Turn(true); });
    OnClicked(turnRight_, [this] { cal_.Turn(false); });
    OnClicked(restore, [this] { cal_.RestoreSaved(); });

    if (cal.Variant() == TrackVariant::JD) {
        QPushButton* ok = MakeButton(QStringLiteral("OK"), "ok", this);
        layout->addLayout(ButtonRow({ok}));
        OnClicked(ok, [this] { StoreAndClose(QDialog::Accepted); });
    } else {
        QPushButton* next = MakeButton(QStringLiteral("Next >>"), "next", this);
        QPushButton* doneButton = MakeButton(QStringLiteral("Test Done"), "testDone", this);
        QPushButton* deadband = MakeButton(QStringLiteral("Change Deadband"), "changeDeadband", this);
        layout->addLayout(ButtonRow({deadband, doneButton, next}));
        OnClicked(next, [this] { StoreAndClose(kTrackDialogNext); });
        OnClicked(doneButton, [this] { StoreAndClose(QDialog::Rejected); });
        OnClicked(deadband, [this, changeDeadband = std::move(changeDeadband)] {
            if (changeDeadband)
                changeDeadband();
            cal_.RestartBiasTest();
        });
    }
    cal_.onChanged = [this] { ShowState(); };
}

bool CTrackBiasDlg::OnInitDialog()
{
    CHCDialog::OnInitDialog();
    cal_.Init();
    return true;
}

QPushButton* CTrackBiasDlg::Button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

void CTrackBiasDlg::ShowState()
{
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(cal_.SliderPosition());
    }
    bias_->Edit()->setText(Q(cal_.BiasText()));
    panel_->Show(cal_);
    for (const bool left : {true, false}) {
        QPushButton* turn = left ? turnLeft_ : turnRight_;
        turn->setEnabled(cal_.TurnEnabled());
        turn->setDown(cal_.TurnDown(left));
    }
}

void CTrackBiasDlg::StoreAndClose(int result)
{
    cal_.Store();
    done(result);
}

// ---------------------------------------------------------------- deadband

CDeadbandDlg::CDeadbandDlg(CUiContext& context, QWidget* parent) : CHCDialog(context, parent), cal_(context)
{
    setWindowTitle(QString::fromLatin1(kCaption));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(kDeadbandLabel), this));
    auto* row = new QHBoxLayout;
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("deadbandSlider"));
    slider_->setRange(0, kDeadbandSliderMaximum);
    slider_->setSingleStep(kDeadbandSliderStep);
    slider_->setPageStep(kDeadbandSliderStep);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setTickInterval(kDeadbandSliderStep);
    slider_->setMinimumWidth(slider_->fontMetrics().averageCharWidth() * 32);
    value_ = new CStepArrowsEdit(this);
    value_->setObjectName(QStringLiteral("deadband"));
    value_->Edit()->setReadOnly(true);
    value_->setMinimumWidth(value_->fontMetrics().averageCharWidth() * 9);
    row->addWidget(new QLabel(QStringLiteral("Low"), this));
    row->addWidget(slider_, 1);
    row->addWidget(new QLabel(QStringLiteral("High"), this));
    row->addWidget(value_);
    layout->addLayout(row);
    ok_ = MakeButton(QStringLiteral("OK"), "ok", this);
    layout->addLayout(ButtonRow({ok_}));

    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        cal_.MoveSlider(position);
        ShowState();
    });
    value_->onStep = [this](int stepsUp) {
        cal_.Spin(stepsUp);
        ShowState();
    };
    OnClicked(ok_, [this] {
        cal_.Store();
        accept();
    });
}

bool CDeadbandDlg::OnInitDialog()
{
    CHCDialog::OnInitDialog();
    cal_.Init();
    ShowState();
    return true;
}

void CDeadbandDlg::ShowState()
{
    {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(cal_.SliderPosition());
    }
    value_->Edit()->setText(Q(cal_.ValueText()));
}

// ---------------------------------------------------------------- track spacing

CTrackSpacingDlg::CTrackSpacingDlg(CUiContext& context, CTrackSpacingCal& cal, QWidget* parent)
    : CTrackDialog(context, &cal, parent), cal_(cal)
{
    auto* layout = new QVBoxLayout(this);
    panel_ = new CTurnRatePanel(this);
    layout->addWidget(panel_);

    auto* spacingRow = new QHBoxLayout;
    auto* label = new QLabel(QString::fromLatin1(kTrackSpacingLabel), this);
    spacing_ = new QLineEdit(this);
    spacing_->setObjectName(QStringLiteral("trackSpacing"));
    spacing_->setMinimumWidth(spacing_->fontMetrics().averageCharWidth() * 10);
    label->setBuddy(spacing_);
    unit_ = new QLabel(this);
    unit_->setObjectName(QStringLiteral("trackSpacingUnit"));
    unit_->setMinimumWidth(24);
    QPushButton* set = MakeButton(QStringLiteral("Set"), "set", this);
    spacingRow->addWidget(label);
    spacingRow->addWidget(spacing_);
    spacingRow->addWidget(unit_);
    spacingRow->addWidget(set);
    spacingRow->addStretch(1);
    layout->addLayout(spacingRow);

    QPushButton* back = MakeButton(QStringLiteral("<< Back "), "back", this);
    turnLeft_ = MakeButton(QStringLiteral("Turn Left"), "turnLeft", this);
    turnRight_ = MakeButton(QStringLiteral("Turn Right"), "turnRight", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(turnLeft_);
    buttons->addWidget(turnRight_);
    layout->addLayout(buttons);

    spacing_->installEventFilter(this);
    connect(spacing_, &QLineEdit::editingFinished, this, [this] { TakeSpacing(); });
    OnClicked(set, [this] {
        TakeSpacing();
        cal_.Set();
    });
    OnClicked(back, [this] { done(kTrackDialogBack); });
    OnClicked(turnLeft_, [this] { cal_.Turn(true); });
    OnClicked(turnRight_, [this] { cal_.Turn(false); });
    cal_.onChanged = [this] { ShowState(false); };
    // The ticks run until the field is chosen.
    turnLeft_->setFocus();
}

bool CTrackSpacingDlg::OnInitDialog()
{
    CHCDialog::OnInitDialog();
    cal_.Init();
    ShowState(true);
    return true;
}

QPushButton* CTrackSpacingDlg::Button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

bool CTrackSpacingDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == spacing_ && event->type() == QEvent::FocusIn && !editing_) {
        editing_ = true;
        cal_.BeginEditing();
    }
    return CTrackDialog::eventFilter(watched, event);
}

void CTrackSpacingDlg::TakeSpacing()
{
    if (!editing_)
        return;
    editing_ = false;
    if (std::optional<std::string> refused = cal_.EndEditing(spacing_->text().toStdString()))
        Context().notifier.Notify(*refused, kAppTitle, MsgButtons::Ok, MsgIcon::Exclamation);
    ShowState(true);
}

void CTrackSpacingDlg::ShowState(bool withSpacing)
{
    panel_->Show(cal_);
    if (withSpacing) {
        spacing_->setText(Q(cal_.SpacingText()));
        unit_->setText(Q(cal_.UnitName()));
    }
    for (const bool left : {true, false}) {
        QPushButton* turn = left ? turnLeft_ : turnRight_;
        turn->setEnabled(cal_.TurnEnabled());
        turn->setDown(cal_.TurnDown(left));
    }
}

// ---------------------------------------------------------------- running the chains

int RunTrackDialog(CUiContext& context, CTrackSteeringChain& chain, TrackDialog dialog, QWidget* parent)
{
    switch (dialog) {
    case TrackDialog::GyroBias: {
        CGyroBiasDlg dlg(context, chain.GyroBias(), parent);
        return context.RunModal(dlg);
    }
    case TrackDialog::JDBias:
    case TrackDialog::MTBias: {
        CTrackBiasDlg dlg(
            context, chain.Bias(),
            [&context, parent] {
                CDeadbandDlg deadband(context, parent);
                context.RunModal(deadband);
            },
            parent);
        return context.RunModal(dlg);
    }
    case TrackDialog::TrackSpacing: {
        CTrackSpacingDlg dlg(context, chain.Spacing(), parent);
        return context.RunModal(dlg);
    }
    default: {
        CTrackInstructionsDlg dlg(context, dialog, parent);
        return context.RunModal(dlg);
    }
    }
}

} // namespace halcyra
