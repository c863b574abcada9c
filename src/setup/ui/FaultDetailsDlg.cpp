#include "setup/ui/FaultDetailsDlg.h"

#include "pages/ui/DialogFont.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace halcyra {

CFaultDetailsDlg::CFaultDetailsDlg(const QString& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Fault Detailed Information"));
    setFont(ToolboxFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("details"));
    text_->setReadOnly(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(font().pointSize() + 1);
    text_->setFont(fixed);
    // Tab stops every eight characters line the values up in one column.
    const QFontMetrics metrics(fixed);
    text_->setTabStopDistance(8 * metrics.horizontalAdvance(QLatin1Char(' ')));
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text_->setPlainText(plain);
    // Room for the values and a description of some length; longer ones wrap.
    text_->setMinimumSize(62 * metrics.horizontalAdvance(QLatin1Char('x')), 17 * metrics.lineSpacing());
    layout->addWidget(text_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString CFaultDetailsDlg::Text() const { return text_->toPlainText(); }

} // namespace halcyra
