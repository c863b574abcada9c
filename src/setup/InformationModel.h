#pragma once
// What the Information page shows: the controller's serial number, firmware,
// options, vehicle model and monitor version, as seven texts.

#include "params/Param.h"

#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;
class CParamSet;

class CInformationModel {
public:
    // The five monitor parameters join the given set (the page's own).
    explicit CInformationModel(CParamSet& set);

    // Fetches unit and firmware information and the vehicle model, and
    // rebuilds the texts; a failed request leaves its texts as they were.
    void Refresh(CControllerLink& link);
    // Rebuilds the monitor texts from the parameters' current values.
    void UpdateMonitorTexts();

    static std::string OptionsText(const std::uint8_t (&flags)[64]);
    static const char* OptionName(int index); // null for indexes without a name

    struct Line {
        const char* label;
        const std::string* text;
        bool read; // the text comes from the controller, not from an earlier or initial state
    };
    std::vector<Line> Lines() const;
    bool AllRead() const;

    std::string serialNumber, applicationVersion, applicationDate, optionsInstalled, vehicleModel, monitorVersion,
        monitorDate;
    // Which requests have answered so far.
    bool unitRead = false, firmwareRead = false, vehicleRead = false;

    CByteParam monVerMajor;
    CByteParam monVerMinor;
    CByteParam monVerMonth;
    CShortParam monVerDay;
    CByteParam monVerYear;
};

} // namespace halcyra
