#pragma once
// The picture shown while the program starts; it closes itself.

#include <QDialog>
#include <QTimer>

namespace halcyra {

class CSplashDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSplashDlg(QWidget* parent = nullptr, int showMs = 2000);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTimer timer_;
};

} // namespace halcyra
