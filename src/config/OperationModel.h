#pragma once
// "Operational Parameters": the end-of-row alarm distance, the operator
// alert timeout and where swaths change over.

#include "pages/PageFields.h"
#include "pages/PageLogic.h"
#include "params/Param.h"

namespace halcyra {

// The end-of-row alarm distance per display unit: cm, m, in, ft.
inline constexpr LengthRangeTable kEndOfRowRanges = {{{1000, 10000, 1000}, {10, 100, 10}, {400, 4000, 400}, {30, 300, 30}}};

class COperationModel {
public:
    // The operator alert timeouts offered, in seconds.
    static constexpr float kAlertTimeouts[] = {180, 300, 600, 900};

    explicit COperationModel(CPageLogic& logic);

    PageFields Fields();
    // Leaving: the timeout becomes the one shown (the first entry when the
    // controller's value is none of them).
    void BeforeLeave();
    // The timeout the list shows for the controller's value.
    float ShownAlertTimeout() const;

    CRangedLengthParam endOfRow; // "wre", in display units
    CFloatParam alertTimeout;    // "oss", seconds
    CByteParam swathChangeover;  // "scp": 0 GPS antenna, 1 tractor nose
};

} // namespace halcyra
