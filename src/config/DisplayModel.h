#pragma once
// "Displayed Units and Language": the display unit of lengths and the
// language of the controller's display. A new language takes a restart.

#include "pages/PageFields.h"
#include "pages/PageLogic.h"
#include "params/Param.h"

namespace halcyra {

class CControllerLink;

class CDisplayModel {
public:
    explicit CDisplayModel(CPageLogic& logic);

    PageFields Fields();
    // The page base's leave step; true when the language was changed and
    // saved, so the controller must restart for it.
    bool Leave(CControllerLink& link);

    CUIntParam units;    // "dsu": 0 cm, 1 m, 2 in, 3 ft
    CUIntParam language; // "dsl": 0 English, 1 Spanish

private:
    CPageLogic& logic_;
};

} // namespace halcyra
