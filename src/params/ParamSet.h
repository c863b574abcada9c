#pragma once
// The parameters one page owns, in order of addition. Does not own them.

#include <vector>

namespace halcyra {

class CControllerLink;
class CParam;

class CParamSet {
public:
    void Add(CParam* param) { params_.push_back(param); }
    // Gets every member, all of them even after a failure; true when all succeeded.
    bool GetAll(CControllerLink& link);
    bool AnyModified() const;
    // Sets every modified member; true when all of those succeeded.
    bool SetModified(CControllerLink& link);
    const std::vector<CParam*>& Members() const { return params_; }
    std::size_t Size() const { return params_.size(); }

private:
    std::vector<CParam*> params_;
};

} // namespace halcyra
