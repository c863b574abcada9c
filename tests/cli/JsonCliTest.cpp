// halcyra --json: one document on standard output, whatever happened.

#include "CliSupport.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace halcyra;
using namespace halcyra::test;
using nlohmann::json;

namespace {

// The run's output as one document; a test fails when it is not one.
json Document(const CliRun& r)
{
    json document = json::parse(r.out, nullptr, false);
    EXPECT_FALSE(document.is_discarded()) << r.out;
    return document;
}

} // namespace

TEST(JsonCli, GetGivesNamesAndValuesAsReadAndEachFailureItsMessage)
{
    const CliRun r = Halcyra({"--simulator", "--sim-set", "zzq=7", "--json", "get", "vms", "nosuch", "zzq", "x"});
    EXPECT_EQ(1, r.status) << "one name failed, as without --json";
    const json d = Document(r);
    EXPECT_EQ("get", d["command"]);
    ASSERT_EQ(4u, d["parameters"].size()) << r.out;
    EXPECT_EQ((json{{"name", "vms"}, {"value", "\"Fieldora 8240W\""}}), d["parameters"][0]);
    EXPECT_EQ("nosuch", d["parameters"][1]["name"]);
    EXPECT_FALSE(d["parameters"][1]["error"]["message"].get<std::string>().empty()) << r.out;
    EXPECT_EQ((json{{"name", "zzq"}, {"value", "7"}}), d["parameters"][2]);
    EXPECT_NE(std::string::npos, d["parameters"][3]["error"]["message"].get<std::string>().find("not a parameter name"));

    const CliRun ok = Halcyra({"--simulator", "--json", "get", "dsu"});
    EXPECT_EQ(0, ok.status) << ok.err;
    EXPECT_FALSE(Document(ok).contains("error"));
}

TEST(JsonCli, InfoAndCheckReportWhatWasReadAndWhyTheyFailed)
{
    ScratchDir dir;
    // No monitor day: the date cannot be shown, everything else can.
    WriteAll(dir.File("setup.cfg"), "vms: \"Fieldora 8240W\"\r\nvtt: 5\r\nvti: 3\r\nMonVerCVMajor: 3\r\n"
                                    "MonVerCVMinor: 5\r\nMonVerCVMonth: 7\r\nMonVerCVYear: 9\r\n");
    const CliRun partial = Halcyra({"--simulator", "--sim-setup", dir.File("setup.cfg"), "--json", "info"});
    EXPECT_EQ(1, partial.status);
    const json info = Document(partial);
    ASSERT_EQ(7u, info["fields"].size()) << partial.out;
    EXPECT_EQ((json{{"name", "Serial Number"}, {"value", "HC2-0042137"}}), info["fields"][0]);
    EXPECT_EQ("Monitor Date", info["fields"][6]["name"]);
    EXPECT_FALSE(info["fields"][6].contains("value"));
    EXPECT_TRUE(info["fields"][6]["error"].contains("message"));
    EXPECT_EQ("not everything could be read from the controller", info["error"]["message"]);

    const CliRun incompatible = Halcyra({"--simulator", "--sim-compat-c", "0", "--json", "check"});
    EXPECT_EQ(1, incompatible.status);
    const json check = Document(incompatible);
    EXPECT_FALSE(check.contains("compatible"));
    EXPECT_FALSE(check["error"]["message"].get<std::string>().empty()) << incompatible.out;

    const CliRun good = Halcyra({"--simulator", "--json", "check"});
    EXPECT_EQ(0, good.status) << good.err;
    EXPECT_EQ(true, Document(good)["compatible"]);
}

TEST(JsonCli, FaultsVehiclesPagesAndDiagAreListsOfWhatWasRead)
{
    const CliRun faults = Halcyra({"--simulator", "--sim-faults",
                                   "4;1,2,1.5,0,-0.25,Hydraulic pressure low;3,7,100,2.5,0,Valve open", "--json",
                                   "faults"});
    EXPECT_EQ(0, faults.status) << faults.err;
    EXPECT_EQ((json::array({{{"number", 1}, {"text", "001: Hydraulic pressure low"}},
                            {{"number", 3}, {"text", "003: Valve open"}}})),
              Document(faults)["faults"]);
    const CliRun none = Halcyra({"--simulator", "--sim-faults", "3", "--json", "faults"});
    EXPECT_EQ(json::array(), Document(none)["faults"]) << "No Faults is no fault";

    const CliRun vehicles =
        Halcyra({"--simulator", "--sim-vehicles", "1,Fieldora 6150R;0,;5,Fieldora 8240W", "--json", "vehicles"});
    EXPECT_EQ((json::array({{{"index", 0}, {"name", "Fieldora 6150R"}}, {{"index", 2}, {"name", "Fieldora 8240W"}}})),
              Document(vehicles)["vehicles"]);

    const CliRun pages = Halcyra({"--simulator", "--json", "pages", "diagnostics"});
    const json titles = Document(pages)["pages"];
    ASSERT_TRUE(titles.is_array());
    EXPECT_FALSE(titles.empty());

    const CliRun diag = Halcyra({"--simulator", "--json", "diag", "Steering Angle", "--count", "2", "--interval", "50"});
    EXPECT_EQ(0, diag.status) << diag.err;
    const json d = Document(diag);
    EXPECT_EQ("Steering Angle", d["page"]);
    ASSERT_EQ(2u, d["readings"].size()) << diag.out;
    EXPECT_EQ("Raw", d["readings"][0]["fields"][0]["name"]);
    EXPECT_TRUE(d["readings"][0]["fields"][0]["value"].is_string());
}

TEST(JsonCli, ASilentControllerOrAPortThatFailsIsStillOneDocument)
{
    const CliRun silent = Halcyra({"--simulator", "--sim-silent", "--json", "faults"});
    EXPECT_EQ(1, silent.status);
    EXPECT_NE(std::string::npos,
              Document(silent)["error"]["message"].get<std::string>().find("no answer from the controller"));

    const CliRun missing = Halcyra({"--port", "/dev/halcyra-no-such-port", "--json", "info"});
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ((json{{"command", "info"}, {"error", {{"message", "/dev/halcyra-no-such-port does not exist"}}}}),
              Document(missing));

    const CliRun ports = Halcyra({"--json", "ports"});
    EXPECT_EQ(0, ports.status);
    EXPECT_TRUE(Document(ports)["ports"].is_array());

    EXPECT_EQ(2, Halcyra({"--simulator", "--json", "set", "vtt", "4"}).status) << "set prints no document";
}

TEST(JsonCli, LogStatusGivesTheFiguresTheLinesShowAndOtherLogCommandsRefuse)
{
    const CliRun lines = Halcyra({"--simulator", "log", "status"});
    const CliRun status = Halcyra({"--simulator", "--json", "log", "status"});
    EXPECT_EQ(0, status.status) << status.err;
    const json d = Document(status);
    ASSERT_TRUE(d["active"].is_boolean()) << status.out;
    const std::string expected = std::string("Active: ") + (d["active"].get<bool>() ? "yes" : "no") + "\nUsed: " +
                                 std::to_string(d["used"].get<unsigned>()) + " of " +
                                 std::to_string(d["total"].get<unsigned>()) + "\n";
    EXPECT_EQ(lines.out, expected);

    EXPECT_EQ(2, Halcyra({"--simulator", "--json", "log", "start"}).status) << "start prints no document";
}
