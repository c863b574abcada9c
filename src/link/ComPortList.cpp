#include "link/ComPortList.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace halcyra::comports {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

bool ContainsWord(std::string_view text, std::string_view word)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    return upper.find(word) != std::string::npos;
}

// "USB Serial Port (COM3)" says "USB Serial Port": the port's name is
// listed beside it anyway.
std::string WithoutPortSuffix(std::string name, const std::string& port)
{
    const std::string suffix = " (" + port + ")";
    if (name.size() > suffix.size() && SameName(std::string_view(name).substr(name.size() - suffix.size()), suffix))
        name.erase(name.size() - suffix.size());
    return name;
}

struct Candidate {
    std::string port;
    std::string description = "Serial port";
    bool usb = false;
};

} // namespace

int ComNumber(std::string_view name)
{
    if (name.size() < 4 || name.size() > 6 || !SameName(name.substr(0, 3), "COM") || name[3] == '0')
        return 0;
    int number = 0;
    for (char c : name.substr(3)) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + (c - '0');
    }
    return number <= 255 ? number : 0;
}

bool IsComName(std::string_view name) { return ComNumber(name) > 0; }

std::vector<SerialPortInfo> BuildComPortList(const std::vector<SerialMapEntry>& serialMap,
                                             const std::vector<std::string>& dosNames,
                                             const std::vector<PortClassEntry>& portClass,
                                             const std::function<bool(const std::string&)>& probe)
{
    auto mapped = [&](const std::string& name) {
        return std::find_if(serialMap.begin(), serialMap.end(),
                            [&](const SerialMapEntry& e) { return SameName(e.port, name); });
    };
    std::vector<Candidate> found;
    auto add = [&](const std::string& name) {
        if (!IsComName(name) || std::any_of(found.begin(), found.end(), [&](const Candidate& c) { return SameName(c.port, name); }))
            return;
        Candidate c{name};
        if (auto m = mapped(name); m != serialMap.end())
            c.usb = ContainsWord(m->device, "USB") || ContainsWord(m->device, "VCP");
        for (const PortClassEntry& p : portClass) {
            if (!SameName(p.port, name))
                continue;
            if (std::string text = WithoutPortSuffix(p.friendlyName, p.port); !text.empty())
                c.description = text;
            c.usb = SameName(p.enumerator, "USB") || SameName(p.enumerator, "FTDIBUS");
        }
        found.push_back(std::move(c));
    };
    if (dosNames.empty()) {
        for (const SerialMapEntry& e : serialMap)
            add(e.port);
    } else {
        for (const std::string& name : dosNames)
            if (IsComName(name) && (mapped(name) != serialMap.end() || (probe && probe(name))))
                add(name);
    }
    // USB adapters first: on a laptop that is where the controller cable is.
    std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return std::tuple(!a.usb, ComNumber(a.port)) < std::tuple(!b.usb, ComNumber(b.port));
    });
    std::vector<SerialPortInfo> ports;
    for (Candidate& c : found)
        ports.push_back({std::move(c.port), std::move(c.description)});
    return ports;
}

} // namespace halcyra::comports
