#pragma once
// The simulated controller's named parameters: each a value in its text form
// and a type, fixed by the value it was defined with.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace halcyra::sim {

// The controller's value types in their text forms: "%u", "%f" and "\"%s\"".
enum class ParamType { Whole, Decimal, Text };

// The type a value's text has, or none: a whole number when it is one,
// else a decimal number, else quoted text.
std::optional<ParamType> TypeOfValue(std::string_view value);
bool HasType(std::string_view value, ParamType type);
// "a whole number", "a decimal number", "quoted text".
const char* TypeName(ParamType type);

class CParamStore {
public:
    enum class SetResult { Stored, UnknownName, WrongType };

    // Defines a parameter for each record "name: value", one per line (CR,
    // LF or CR LF end a line; a leading UTF-8 byte-order mark is passed
    // over); lines that are not records are skipped. False, naming the line,
    // for a record whose value has no type (the records before it stay
    // defined), and, with nothing defined, for a text that holds a control
    // character other than tab or no record at all.
    bool LoadText(const std::string& text, std::string& error);
    // The same for a file, which must be a regular file and not empty.
    bool LoadFile(const std::string& path, std::string& error);
    // Applies "NAME=VALUE" as given on the command line: sets a parameter
    // the store holds (VALUE of its type) or defines a new one.
    bool ApplyAssignment(const std::string& assignment, std::string& error);
    // Sets every record of a parameter text file as a set request would;
    // records of unknown names or of the wrong type are left out.
    void ApplyRecords(const std::string& text);

    // Sets a parameter the store holds to a value of its type, as the
    // controller does for a set request; anything else changes nothing.
    SetResult Set(const std::string& name, const std::string& value);
    // Takes every parameter of other in place of this store's own; the
    // observers stay, so features keep following their commands.
    void ReplaceValues(const CParamStore& other) { params_ = other.params_; }
    // A decimal (or whole) parameter's value; fallback when there is none.
    float Decimal(const std::string& name, float fallback = 0) const;
    // Adds or replaces a parameter, its type taken from the value; false
    // (and nothing changed) when the value has no type.
    bool Define(const std::string& name, const std::string& value);

    // Calls observer after every set that stores a value of name (a set
    // request, an uploaded setup, an assignment): a feature that the
    // controller runs on command follows its command parameter this way.
    using SetObserver = std::function<void(const std::string& value)>;
    void OnSet(const std::string& name, SetObserver observer);

    std::optional<std::string> Get(const std::string& name) const;
    std::optional<ParamType> Type(const std::string& name) const;
    bool Contains(const std::string& name) const { return params_.count(name) != 0; }
    // The whole store as a parameter text file (CR LF line ends).
    std::string ToText() const;
    // Name -> value text.
    std::map<std::string, std::string> Values() const;

private:
    struct Stored {
        ParamType type;
        std::string value;
    };
    std::map<std::string, Stored> params_;
    std::multimap<std::string, SetObserver> observers_;
};

// The setup a simulated controller starts with: a wheeled tractor.
const std::string& DefaultSetupText();

} // namespace halcyra::sim
