#pragma once
// Builds a page's controls from its field descriptions and moves values both
// ways: into the controls when the page shows its values, back into the
// values when the user leaves the page. Choices (combos, check boxes, radio
// buttons, sliders) are stored as soon as the user makes them, so enabling
// rules see them at once; typed text is stored, range-checked, on leaving.
// A page's value rules (one value forcing another) run before the values
// are shown and after every choice the user makes.

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
    // Stores the typed text of one field without a message; false when it
    // cannot be stored (yet): the user may still be typing.
    bool StoreQuietly(const std::string& id);
    // Applies the enabling and visibility rules, entries and unit texts again.
    void Refresh();
    // The page's value rules, run before the values are shown and after
    // every choice; the choices are shown again after them.
    void SetRules(std::function<void()> rules) { rules_ = std::move(rules); }

    QWidget* Control(const std::string& id) const;
    const PageFields& Fields() const { return fields_; }

signals:
    // The user changed a control.
    void edited();

private:
    struct Bound {
        QWidget* control = nullptr;
        QWidget* cell = nullptr; // the control with its unit or end texts
        QLabel* label = nullptr;
        QLabel* unit = nullptr;
        QLabel* note = nullptr;
        std::vector<QWidget*> buttons; // radio buttons
    };
    QWidget* MakeControl(const FieldSpec& field, Bound& bound);
    QWidget* MakeCell(const FieldSpec& field, Bound& bound);
    void Show(const FieldSpec& field, Bound& bound);
    // Shows every value the user does not type (typing stays as it is).
    void ShowChoices();
    // After the user changed a control: the rules, the choices, the enabling.
    void AfterUserChange();

    QWidget* owner_;
    const CUnitsParam* units_;
    PageFields fields_;
    std::vector<Bound> bound_;
    QFormLayout* form_ = nullptr;
    std::function<void()> rules_;
    bool showing_ = false; // values going into controls: not the user's doing
};

} // namespace halcyra
