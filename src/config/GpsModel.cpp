#include "config/GpsModel.h"

#include "config/ConfigurationPages.h"

namespace halcyra {

namespace {

bool OmniReceiver(std::uint32_t receiver) { return receiver == 5 || receiver == 8 || receiver == 9 || receiver == 10; }

} // namespace

std::vector<FieldChoice> ReceiverChoices(std::uint32_t receiver, const std::string& receiverTypeName)
{
    return {{"Unknown", 0},
            {"Fieldora 310", 1},
            {"Fieldora 320", 2},
            {"Fieldora 330", 3},
            {"Fieldora 340", 4},
            {"Fieldora 350", 5},
            {"Fieldora 360", 6},
            {"NOT USED", 7},
            {"Fieldora 370", 8},
            {receiver == 9 ? receiverTypeName : "Pemlo GPS&Display", 9},
            {receiver == 10 ? receiverTypeName : "Pemlo GPS Only", 10}};
}

std::vector<FieldChoice> CorrectionChoices(std::uint32_t optionWord, bool newerWord, std::uint32_t receiver)
{
    using namespace receiver_option;
    const bool omniVbs = newerWord ? (optionWord & kOmniVbs) != 0 : (optionWord & kOmniHpXp) != 0;
    std::vector<FieldChoice> choices = {{"Autonomous", 1}};
    if (optionWord & kWaas)
        choices.push_back({"WAAS", 2});
    if (optionWord & kBeacon)
        choices.push_back({"Beacon", 3});
    if (omniVbs)
        choices.push_back({"Omni VBS", 4});
    if ((optionWord & kOmniHpXp) && OmniReceiver(receiver))
        choices.push_back({"Omni HP or XP", 7});
    if (optionWord & kRtk)
        choices.push_back({"RTK", 8});
    if (OmniReceiver(receiver) && (optionWord & kOmniHpXp) && omniVbs)
        choices.push_back({"Omni (HP or XP)/VBS", 9});
    return choices;
}

CGpsModel::CGpsModel(CPageLogic& logic)
    : receiver("grx", &logic.params), receiverName("RORcvrTypeString", &logic.params), correction("gct", &logic.params),
      autoConfigure("acf", &logic.params),
      receiverFirmware("ROGPSVersion", &logic.params), hpAutoSeed("HPAutoSeedEnabled", &logic.params),
      sharedRadio("srl", &logic.params)
{
}

bool CGpsModel::ReceiverListEnabled() const
{
    return receiver.value != 6 && receiver.value != 9 && autoConfigure.value == 0;
}

bool CGpsModel::CorrectionListEnabled() const { return receiver.value != 6 && receiver.value != 9; }

PageFields CGpsModel::Fields()
{
    return {
        field::ComboData("receiver", "Receiver Type:", CFieldValue::Number(receiver), {})
            .ChoicesFrom([this] { return receivers; })
            .EnabledWhen([this] { return ReceiverListEnabled(); }),
        field::ComboData("correction", "Correction:", CFieldValue::Number(correction), {})
            .ChoicesFrom([this] { return corrections; })
            .EnabledWhen([this] { return CorrectionListEnabled(); }),
        field::Check("autoConfigure", "Auto-configure receiver on startup", CFieldValue::Number(autoConfigure)),
        field::ReadOnly("receiverFirmware", "GPS Receiver Firmware Version:", CFieldValue::Number(receiverFirmware)),
        field::Check("hpAutoSeed", "Enable HP Autoseeding", CFieldValue::Number(hpAutoSeed))
            .EnabledWhen([this] { return correction.value == 7 || correction.value == 9; }),
        field::Check("sharedRadio", "Radio shared with another GPS Receiver", CFieldValue::Number(sharedRadio))
            .EnabledWhen([] { return false; }),
    };
}

void CGpsModel::BuildLists(CControllerLink& link)
{
    receivers = ReceiverChoices(receiver.value, receiverName.value);
    CUIntParam newer("RORcvrConfigOption");
    CUIntParam older("RODblRcvrConfigOption");
    newerOptionWord = newer.Get(link);
    if (newerOptionWord)
        options = newer.value;
    else
        options = older.Get(link) ? older.value : 0;
    corrections = CorrectionChoices(options, newerOptionWord, receiver.value);
}

void CGpsModel::Rules()
{
    if (correction.value != kRtkCorrection)
        sharedRadio.value = 0;
}

} // namespace halcyra
