#pragma once
// halcyra --json: a command fills one JSON object instead of printing lines,
// and the command line writes it to standard output when the command ends.

#include <nlohmann/json.hpp>

#include <string>

namespace halcyra::cli {

// Members keep the order they were set in, as a reader of the output expects.
using Json = nlohmann::ordered_json;

// A failure as the document shows it: an object with its message.
inline Json Failure(const std::string& message) { return Json{{"message", message}}; }

// A name with what was read for it, or the failure in its place.
inline Json NamedValue(const std::string& name, const Json& value) { return Json{{"name", name}, {"value", value}}; }
inline Json NamedFailure(const std::string& name, const std::string& message)
{
    return Json{{"name", name}, {"error", Failure(message)}};
}

} // namespace halcyra::cli
