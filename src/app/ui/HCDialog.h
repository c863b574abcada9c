#pragma once
// The base of the program's plain dialogs: the dialog font, and the data
// directories made (with a box for each that cannot be) whenever one opens.

#include <QDialog>

namespace halcyra {

class CToolboxContext;

class CHCDialog : public QDialog {
    Q_OBJECT

public:
    explicit CHCDialog(CToolboxContext& context, QWidget* parent = nullptr);

    // Runs OnInitDialog once, before the dialog is first shown.
    void EnsureInitialised();
    int exec() override;

protected:
    // Creates the data directories. Overrides call this first.
    virtual bool OnInitDialog();

    CToolboxContext& Context() const { return context_; }

private:
    CToolboxContext& context_;
    bool initialised_ = false;
};

} // namespace halcyra
