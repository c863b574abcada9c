#pragma once
// "Faults": the fourth page of the setup sheet. It will list the faults the
// controller has recorded, show and clear one, and write them to a report;
// for now it shows its heading, its hint and an empty list.

#include "pages/ui/HCPropertyPage.h"

class QListWidget;

namespace halcyra {

class CFaultContents : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CFaultContents(CControllerLink& link, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }

private:
    QListWidget* list_ = nullptr; // one entry per fault, its number as item data
};

} // namespace halcyra
