#include "calibration/ui/CalOrientationPage.h"

#include "calibration/CalibrationFields.h"
#include "calibration/CalibrationPages.h"
#include "calibration/ui/CalPageParts.h"
#include "pages/SerialGuard.h"
#include "pages/ui/FieldBinder.h"
#include "pages/ui/UiContext.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace halcyra {

namespace {

const char* RotateName(RotateControl control)
{
    static const char* const names[kRotateControls] = {"rotateUp",   "rotateDown",           "rotateLeft",
                                                       "rotateRight", "rotateCounterclockwise", "rotateClockwise"};
    return names[static_cast<int>(control)];
}

} // namespace

QString OrientationPicture(int picture)
{
    return QStringLiteral(":/res/orientation-%1.png").arg(picture, 2, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------- angles dialog

COrientationAnglesDlg::COrientationAnglesDlg(CUiContext& context, float yaw, float pitch, float roll, QWidget* parent)
    : CHCDialog(context, parent), yaw_(yaw), pitch_(pitch), roll_(roll)
{
    setWindowTitle(QStringLiteral("Orientation Angles"));
    auto* layout = new QVBoxLayout(this);
    binder_ = new CFieldBinder(this, nullptr);
    QFormLayout* form = binder_->Build(
        OrientationAngleFields(CFieldValue::Number(yaw_), CFieldValue::Number(pitch_), CFieldValue::Number(roll_)));
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &COrientationAnglesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COrientationAnglesDlg::reject);
    binder_->ToControls();
}

void COrientationAnglesDlg::accept()
{
    // An angle outside 0 to 360 keeps the dialog open.
    if (binder_->FromControls(Context().notifier))
        CHCDialog::accept();
}

// ---------------------------------------------------------------- page

CCalOrientationPage::CCalOrientationPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::Orientation), HeadingOf(CalPage::Orientation), parent),
      cal_(Params())
{
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("orientationPicture"));
    // As large as the pictures, which are all of one size.
    picture_->setFixedSize(QPixmap(OrientationPicture(kNoOrientationPicture)).size());
    picture_->setAlignment(Qt::AlignCenter);

    auto rotate = [this](RotateControl control) {
        QAbstractButton* button = nullptr;
        if (control == RotateControl::Counterclockwise || control == RotateControl::Clockwise) {
            auto* tool = new QToolButton(this);
            tool->setIcon(QIcon(control == RotateControl::Clockwise ? QStringLiteral(":/res/rotate-clockwise.png")
                                                                    : QStringLiteral(":/res/rotate-counterclockwise.png")));
            tool->setIconSize(QSize(32, 32));
            tool->setToolTip(control == RotateControl::Clockwise ? QStringLiteral("Turn clockwise")
                                                                 : QStringLiteral("Turn counterclockwise"));
            button = tool;
        } else {
            auto* push = new QPushButton(QString::fromLatin1(RotateControlText(control)), this);
            push->setAutoDefault(false);
            push->setFixedWidth(push->fontMetrics().averageCharWidth() * 6);
            button = push;
        }
        button->setObjectName(QString::fromLatin1(RotateName(control)));
        connect(button, &QAbstractButton::clicked, this, [this, control] {
            cal_.Rotate(control);
            ShowState();
        });
        rotate_[static_cast<int>(control)] = button;
        return button;
    };

    auto* grid = new QGridLayout;
    grid->addWidget(rotate(RotateControl::Counterclockwise), 0, 0, Qt::AlignCenter);
    grid->addWidget(rotate(RotateControl::Up), 0, 1, Qt::AlignCenter);
    grid->addWidget(rotate(RotateControl::Clockwise), 0, 2, Qt::AlignCenter);
    grid->addWidget(rotate(RotateControl::Left), 1, 0, Qt::AlignCenter);
    grid->addWidget(picture_, 1, 1, Qt::AlignCenter);
    grid->addWidget(rotate(RotateControl::Right), 1, 2, Qt::AlignCenter);
    grid->addWidget(rotate(RotateControl::Down), 2, 1, Qt::AlignCenter);
    auto* centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addLayout(grid);
    centred->addStretch(1);
    Body()->addLayout(centred);

    auto* row = new QHBoxLayout;
    angles_ = AddButton(QStringLiteral("Angles..."), "angles", [this] { EnterAngles(); });
    help_ = AddButton(QStringLiteral("Help"), "help", [this] {
        Context().notifier.Notify(OrientationHelpText(), kOrientationHelpCaption, MsgButtons::Ok, MsgIcon::Information);
    });
    row->addStretch(1);
    row->addWidget(angles_);
    row->addWidget(help_);
    Body()->addLayout(row);
    Body()->addStretch(1);
    ShowState();
}

void CCalOrientationPage::ShowState()
{
    if (shown_ == cal_.Picture())
        return;
    shown_ = cal_.Picture();
    picture_->setPixmap(QPixmap(OrientationPicture(shown_)));
    picture_->setToolTip(cal_.Entry() >= 0 ? QStringLiteral("Mounting %1 of %2").arg(cal_.Entry() + 1).arg(kOrientationCount)
                                           : QStringLiteral("No standard mounting"));
}

void CCalOrientationPage::EnterAngles()
{
    COrientationAnglesDlg dialog(Context(), cal_.Yaw().value, cal_.Pitch().value, cal_.Roll().value, this);
    if (Context().RunModal(dialog) == QDialog::Accepted)
        cal_.EnterAngles(dialog.Yaw(), dialog.Pitch(), dialog.Roll());
    else
        cal_.AnglesDialogClosed();
    ShowState();
}

} // namespace halcyra
