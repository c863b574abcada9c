#include "config/LightbarModel.h"

#include "link/Format.h"

namespace halcyra {

CLightbarModel::CLightbarModel(CPageLogic& logic)
    : brightness("lbi", &logic.params), ledSpacing("ldi", &logic.params), endDistance("ldm", &logic.params),
      endDistanceFactor("lde", &logic.params), upsideDown("lbm", &logic.params), textMessage("lsf", &logic.params),
      mode("lxm", &logic.params), lookAhead("lat", &logic.params), units_(logic.units)
{
    ledSpacing.SetRange(&kInnerLedSpacingRanges);
}

std::string CLightbarModel::LinearDistanceText() const
{
    // 34 LEDs, 17 to each side of the centre.
    return Format("%.2f %s (linear)", static_cast<double>(ledSpacing.value * 34.0f / 2.0f), units_.UnitName().c_str());
}

PageFields CLightbarModel::Fields()
{
    return {
        field::Slider("brightness", "LED Brightness:", CFieldValue::Number(brightness), 1, 5).Ends("Dark", "Bright"),
        field::Edit("ledSpacing", "Inner LED Spacing:", CFieldValue::Number(ledSpacing))
            .Range(0, 9999)
            .LengthRanges(kInnerLedSpacingRanges)
            .StoreWhileTyping(),
        field::Combo("endDistance", "End LED Distance:", CFieldValue::Number(endDistance), {})
            .ChoicesFrom([this] { return std::vector<FieldChoice>{{LinearDistanceText()}, {"1/2 Swath Width"}}; }),
        field::Check("upsideDown", "Mount lightbar upside down", CFieldValue::Number(upsideDown)),
        field::Combo("textMessage", "Text Message:", CFieldValue::Number(textMessage),
                     {{"None"}, {"Swath Number"}, {"Accuracy"}}),
        field::Radios("mode", "Lightbar Mode:", CFieldValue::Number(mode), {{"Show Correction", 0}, {"Show Error", 1}}),
        // The arrows move the time shown by a second: 1.5 becomes 2.5.
        field::EditSpin("lookAhead", "Look Ahead Time:", CFieldValue::Number(lookAhead), 1).Range(0, 5).StepFromValue(),
    };
}

void CLightbarModel::Rules() { endDistanceFactor.value = 0.5f; }

} // namespace halcyra
