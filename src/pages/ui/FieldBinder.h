#pragma once
// Builds a page's controls from its field descriptions and moves values both
// ways: into the controls when the page shows its values, back into the
// values when the user leaves the page. Choices (combos, check boxes, radio
// buttons, sliders) are stored as soon as the user makes them, so enabling
// rules see them at once; typed text is stored, range-checked, on leaving.

#include "pages/PageFields.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QFormLayout;
class QLabel;
class QWidget;

namespace halcyra {

class INotifier;

class CFieldBinder : public QObject {
    Q_OBJECT

public:
    // units: the page's display units, read before the values are shown.
    CFieldBinder(QWidget* owner, const CUnitsParam* units);

    // The controls of fields in a form: label, control, unit text, note.
    QFormLayout* Build(PageFields fields);

    void ToControls();
    // Stores typed texts. The first field that cannot be stored shows its
    // message, takes the focus and makes this false.
    bool FromControls(INotifier& notifier);
    // Applies the enabling and visibility rules and unit texts again.
    void Refresh();

    QWidget* Control(const std::string& id) const;
    const PageFields& Fields() const { return fields_; }

signals:
    // The user changed a control.
    void edited();

private:
    struct Bound {
        QWidget* control = nullptr;
        QLabel* label = nullptr;
        QLabel* unit = nullptr;
        QWidget* cell = nullptr;  // the control, or the control with its unit
        QLabel* note = nullptr;
        std::vector<QWidget*> buttons; // radio buttons
    };
    QWidget* MakeControl(const FieldSpec& field, Bound& bound);
    // A control changed: store its value, apply the rules, tell the page.
    void UserChanged(const std::function<void()>& store);
    void Show(const FieldSpec& field, Bound& bound);

    QWidget* owner_;
    const CUnitsParam* units_;
    PageFields fields_;
    std::vector<Bound> bound_;
    bool showing_ = false; // values are going into the controls
};

} // namespace halcyra
