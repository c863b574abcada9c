#include "app/ui/MessageBoxNotifier.h"

#include <QApplication>
#include <QPushButton>

#include <ostream>

namespace halcyra {

QMessageBox::Icon ToQtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Stop:
        return QMessageBox::Critical;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

MsgAnswer CMessageBoxNotifier::Notify(const std::string& text, const std::string& caption, MsgButtons buttons,
                                      MsgIcon icon)
{
    QMessageBox::StandardButtons qtButtons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    switch (buttons) {
    case MsgButtons::Ok:
        break;
    case MsgButtons::OkCancel:
        qtButtons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MsgButtons::YesNo:
        qtButtons = QMessageBox::Yes | QMessageBox::No;
        defaultButton = QMessageBox::Yes;
        break;
    }
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text), qtButtons, owner);
    box.setDefaultButton(defaultButton);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    default:
        break;
    }
    // Escape on a Yes/No box counts as No; on OK/Cancel as Cancel.
    if (buttons == MsgButtons::YesNo && box.clickedButton() != box.button(QMessageBox::Yes))
        return MsgAnswer::No;
    return MsgAnswer::Ok;
}

MsgAnswer CStreamNotifier::Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon)
{
    out_ << (caption.empty() ? std::string("(no caption)") : caption) << ": " << text << "\n";
    out_.flush();
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

} // namespace halcyra
