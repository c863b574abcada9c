#pragma once
// "Lightbar Configuration": brightness, LED spacing and end distance, mounting,
// the text message, the mode and the look-ahead time of the lightbar.

#include "pages/PageFields.h"
#include "pages/PageLogic.h"
#include "params/Param.h"

#include <string>

namespace halcyra {

// The inner LED spacing per display unit: cm, m, in, ft.
inline constexpr LengthRangeTable kInnerLedSpacingRanges = {
    {{1, 25, 1}, {0.01f, 0.25f, 0.01f}, {1, 10, 1}, {0.1f, 1.0f, 0.1f}}};

class CLightbarModel {
public:
    explicit CLightbarModel(CPageLogic& logic);

    PageFields Fields();
    // Rules of every exchange: "lde" is always 0.5.
    void Rules();
    // The first End LED Distance entry: the linear distance of 17 spacings.
    std::string LinearDistanceText() const;

    CUIntParam brightness;         // "lbi", 1..5
    CRangedLengthParam ledSpacing; // "ldi", in display units
    CUIntParam endDistance;        // "ldm": 0 linear, 1 half the swath width
    CFloatParam endDistanceFactor; // "lde"
    CUIntParam upsideDown;         // "lbm"
    CUIntParam textMessage;        // "lsf": 0 none, 1 swath number, 2 accuracy
    CByteParam mode;               // "lxm": 0 show correction, 1 show error
    CFloatParam lookAhead;         // "lat", seconds

private:
    const CUnitsParam& units_;
};

} // namespace halcyra
