#include "config/DisplayModel.h"

namespace halcyra {

CDisplayModel::CDisplayModel(CPageLogic& logic)
    : units("dsu", &logic.params), language("dsl", &logic.params), logic_(logic)
{
}

PageFields CDisplayModel::Fields()
{
    return {
        field::Combo("units", "Displayed Units:", CFieldValue::Number(units),
                     {{"cm"}, {"meters"}, {"in"}, {"feet"}}),
        field::Combo("language", "Language:", CFieldValue::Number(language), {{"English"}, {"Spanish"}}),
    };
}

bool CDisplayModel::Leave(CControllerLink& link)
{
    const bool languageChanged = language.IsModified();
    logic_.OnLeave(link);
    return languageChanged && logic_.lastAnswer == MsgAnswer::Yes;
}

} // namespace halcyra
