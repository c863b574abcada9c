#include "sim/ParamStore.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace halcyra::sim {

namespace {

bool SplitRecord(const std::string& line, std::string& name, std::string& value)
{
    std::size_t sep = line.find(": ");
    std::size_t colon = line.find(':');
    if (sep == std::string::npos || colon != sep || sep < 3)
        return false;
    name = line.substr(0, sep);
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    value = line.substr(sep + 2);
    return true;
}

} // namespace

void CParamStore::LoadText(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        std::string name, value;
        if (SplitRecord(line, name, value))
            values_[name] = value;
    }
}

bool CParamStore::LoadFile(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read setup file " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    LoadText(text.str());
    return true;
}

bool CParamStore::ApplyAssignment(const std::string& assignment, std::string& error)
{
    std::size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "expected NAME=VALUE, got '" + assignment + "'";
        return false;
    }
    values_[assignment.substr(0, eq)] = assignment.substr(eq + 1);
    return true;
}

std::optional<std::string> CParamStore::Get(const std::string& name) const
{
    auto it = values_.find(name);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::string CParamStore::ToText() const
{
    std::string text;
    // The vehicle model first, as the controller writes it.
    if (auto vms = Get("vms"))
        text += "vms: " + *vms + "\r\n";
    for (const auto& [name, value] : values_)
        if (name != "vms")
            text += name + ": " + value + "\r\n";
    return text;
}

} // namespace halcyra::sim
