#pragma once
// Named controller parameters: a program-side variable bound to one of the
// controller's text parameters ("name: value").

#include "link/ControllerMsg.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace halcyra {

class CControllerLink;
class CParamSet;

// Whether a name and value typed by the user can be sent as "name: value":
// the name must not be empty, and neither may hold a control character (a
// CR or LF would end the controller's line early and start another).
// Returns what is wrong, or nothing.
std::optional<std::string> CheckSetText(std::string_view name, std::string_view value);

// A read-only reading of the controller ("RODiagOpsSwitchRaw",
// "ROGPSVersion"): a live value that changes by itself, not a setting a
// restore writes.
bool IsReadOnlyReading(std::string_view name);

class CParam {
public:
    explicit CParam(std::string_view name, CParamSet* set = nullptr);
    virtual ~CParam() = default;
    CParam(const CParam&) = delete;
    CParam& operator=(const CParam&) = delete;

    // A value-less parameter: only ever set, to make the controller act.
    virtual std::string ToText() const { return {}; }
    virtual bool FromText(std::string_view) { return false; }
    virtual bool IsModified() const { return false; }
    virtual bool Get(CControllerLink& link);
    // The parameter's record in a parameter text file: the first line that
    // names it, searched up to the first empty line. The file is read from
    // its start and left there.
    virtual bool ReadFromFile(std::FILE* file);
    // The same search in a parameter text file's text.
    bool ReadFromText(std::string_view text);
    virtual bool Set(CControllerLink& link);

    // Checks "name: value" against this parameter's name and parses the value.
    bool ParseReply(std::string_view text);

    const std::string& Name() const { return name_; }
    bool IsRetrieved() const { return retrieved_; }

protected:
    bool retrieved_ = false;

private:
    std::string name_;
};

class CUIntParam : public CParam {
public:
    using CParam::CParam;
    std::string ToText() const override;
    bool FromText(std::string_view text) override;
    bool IsModified() const override { return retrieved_ && value != readValue; }
    std::uint32_t value = 0;
    std::uint32_t readValue = 0;
};

// Holds the whole number read, sends its low 8 bits.
class CByteParam : public CUIntParam {
public:
    using CUIntParam::CUIntParam;
    std::string ToText() const override;
};

class CShortParam : public CParam {
public:
    using CParam::CParam;
    std::string ToText() const override; // sign-extended, printed unsigned
    bool FromText(std::string_view text) override;
    bool IsModified() const override { return retrieved_ && value != readValue; }
    std::int16_t value = 0;
    std::int16_t readValue = 0;
};

class CFloatParam : public CParam {
public:
    using CParam::CParam;
    std::string ToText() const override;
    bool FromText(std::string_view text) override;
    // Changed only outside a band of +-0.1 % around the value read.
    bool IsModified() const override;
    float value = 0.0f;
    float readValue = 0.0f;
};

class CStringParam : public CParam {
public:
    static constexpr std::size_t kMaxValue = 228;
    using CParam::CParam;
    std::string ToText() const override;
    bool FromText(std::string_view text) override;
    bool IsModified() const override;
    std::string value;
    std::string readValue;
};

// The display units, always named "dsu": 0 cm, 1 m, 2 in, 3 ft.
class CUnitsParam : public CByteParam {
public:
    explicit CUnitsParam(CParamSet* set = nullptr) : CByteParam("dsu", set) {}
    // Fails for a unit index the program has no factor for.
    bool Get(CControllerLink& link) override;
    bool HasFactor() const { return hasFactor_; }
    float Factor() const { return factor_; }
    const std::string& UnitName() const { return unitName_; }
    std::uint8_t UnitIndex() const { return unitIndex_; }
    // Applies a unit index as a successful get would; false above 3.
    bool ApplyUnitIndex(std::uint32_t index);

private:
    bool hasFactor_ = false;
    float factor_ = 1.0f;
    std::string unitName_;
    std::uint8_t unitIndex_ = 0;
};

// A length the controller keeps in metres, held here in display units.
class CLengthParam : public CFloatParam {
public:
    explicit CLengthParam(std::string_view name, CParamSet* set = nullptr) : CFloatParam(name, set) {}
    bool Get(CControllerLink& link) override;
    // Refused without a display unit factor from a successful "dsu" get.
    bool Set(CControllerLink& link) override;
    CUnitsParam& Units() { return units_; }
    const CUnitsParam& Units() const { return units_; }

private:
    CUnitsParam units_;
};

struct LengthRange {
    float minimum;
    float maximum;
    float step;
};
using LengthRangeTable = std::array<LengthRange, 4>; // one per unit index, in display units

class CRangedLengthParam : public CLengthParam {
public:
    using CLengthParam::CLengthParam;
    bool Get(CControllerLink& link) override;
    void SetRange(const LengthRangeTable* table) { range_ = table; }
    // Rounds to the step (halves away from zero) and clamps to the range.
    static float Stepped(float x, float step);
    void ApplyRange();

private:
    const LengthRangeTable* range_ = nullptr;
};

} // namespace halcyra
