#include "params/ParamSet.h"

#include "params/Param.h"

namespace halcyra {

bool CParamSet::GetAll(CControllerLink& link)
{
    bool all = true;
    for (CParam* p : params_)
        all = p->Get(link) && all;
    return all;
}

bool CParamSet::AnyModified() const
{
    for (const CParam* p : params_)
        if (p->IsModified())
            return true;
    return false;
}

bool CParamSet::SetModified(CControllerLink& link)
{
    bool all = true;
    for (CParam* p : params_)
        if (p->IsModified())
            all = p->Set(link) && all;
    return all;
}

} // namespace halcyra
