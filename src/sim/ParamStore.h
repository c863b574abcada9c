#pragma once
// The simulated controller's named parameters: name -> value in text form.

#include <map>
#include <optional>
#include <string>

namespace halcyra::sim {

class CParamStore {
public:
    // Loads records "name: value", one per line; lines that are not records are skipped.
    void LoadText(const std::string& text);
    bool LoadFile(const std::string& path, std::string& error);
    // Applies "NAME=VALUE" as given on the command line.
    bool ApplyAssignment(const std::string& assignment, std::string& error);

    std::optional<std::string> Get(const std::string& name) const;
    void Set(const std::string& name, const std::string& value) { values_[name] = value; }
    bool Contains(const std::string& name) const { return values_.count(name) != 0; }
    // The whole store as a parameter text file (CR LF line ends).
    std::string ToText() const;
    const std::map<std::string, std::string>& Values() const { return values_; }

private:
    std::map<std::string, std::string> values_;
};

// The setup a simulated controller starts with: a wheeled tractor.
const std::string& DefaultSetupText();

} // namespace halcyra::sim
