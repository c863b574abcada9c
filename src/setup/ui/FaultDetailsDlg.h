#pragma once
// "Fault Detailed Information": one fault's number, description, data and
// count, read only.

#include <QDialog>

class QPlainTextEdit;

namespace halcyra {

class CFaultDetailsDlg : public QDialog {
    Q_OBJECT

public:
    // text as the fault table gives it, with CR LF line ends and tabs.
    explicit CFaultDetailsDlg(const QString& text, QWidget* parent = nullptr);

    QString Text() const;
    QPlainTextEdit* TextBox() const { return text_; }

private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace halcyra
