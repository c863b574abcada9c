#pragma once
// The base of the program's plain dialogs: the dialog font, and the data
// directories made (with a box for each that cannot be) whenever one opens.

#include <QDialog>

#include <functional>

class QAbstractButton;

namespace halcyra {

class CUiContext;

class CHCDialog : public QDialog {
    Q_OBJECT

public:
    explicit CHCDialog(CUiContext& context, QWidget* parent = nullptr);

    // Runs OnInitDialog once, before the dialog is first shown.
    void EnsureInitialised();
    int exec() override;

protected:
    // Creates the data directories. Overrides call this first.
    virtual bool OnInitDialog();

    CUiContext& Context() const { return context_; }
    // Runs handler on each click, guarded: a port failure becomes one box.
    void OnClicked(QAbstractButton* button, std::function<void()> handler);

private:
    CUiContext& context_;
    bool initialised_ = false;
};

} // namespace halcyra
