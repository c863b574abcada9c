#pragma once
// Draws the program's screens for --render: each as a PNG picture and,
// beside it, the text listing of its controls.

#include <QString>

class QWidget;

namespace halcyra {

class CScreenRenderer {
public:
    explicit CScreenRenderer(QString dir) : dir_(std::move(dir)) {}

    // Shows the screen at its natural size, then writes name.png and name.txt.
    void Save(QWidget& screen, const QString& name);
    // Shows a window at its natural size and lets it paint.
    static void Show(QWidget& screen);

    int Failures() const { return failures_; }

private:
    QString dir_;
    int failures_ = 0;
};

} // namespace halcyra
