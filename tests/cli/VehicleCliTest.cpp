// vehicles, select-vehicle, load-profile and pages config on the command
// line, against the simulator over a real pseudo-terminal.

#include "CliSupport.h"
#include "SimFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace halcyra;
using namespace halcyra::test;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

TEST(VehicleCli, VehiclesListsTheNamedEntriesByTheirIndex)
{
    const CliRun r = Halcyra({"--simulator", "--sim-vehicles", "1,Fieldora 6150R;0,;5,Fieldora 8240W", "vehicles"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("0\tFieldora 6150R\n2\tFieldora 8240W\n", r.out);
}

TEST(VehicleCli, SelectVehicleRestartsTheControllerAndPrintsTheModelReadBack)
{
    const CliRun r = Halcyra({"--simulator", "--sim-restart-ms", "300", "select-vehicle", "1", "--yes"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Vehicle Model: Tracmor 9RT\n", r.out);
    EXPECT_TRUE(Contains(r.err, "The system will be reset to allow the changes to take effect."));

    const CliRun kept =
        Halcyra({"--simulator", "--sim-restart-ms", "300", "--sim-keep-vehicle", "1", "select-vehicle", "1", "--yes"});
    EXPECT_EQ(1, kept.status);
    EXPECT_EQ("Vehicle Model: Fieldora 8240W\n", kept.out);
    EXPECT_TRUE(Contains(kept.err, "Failed to select vehicle type!!"));

    // Not a vehicle of the list, and a question answered No: nothing changes.
    const CliRun unnamed = Halcyra({"--simulator", "select-vehicle", "2", "--yes"});
    EXPECT_EQ(1, unnamed.status);
    EXPECT_TRUE(Contains(unnamed.err, "no vehicle 2")) << unnamed.err;
    const CliRun declined = Halcyra({"--simulator", "select-vehicle", "1"}, "n\n");
    EXPECT_EQ(1, declined.status);
    EXPECT_TRUE(declined.out.empty());
    EXPECT_EQ(2, Halcyra({"--simulator", "select-vehicle", "one"}).status);
}

TEST(VehicleCli, LoadProfileUploadsTheProfileAndRefusesOneWithoutAModel)
{
    ScratchDir dir;
    WriteAll(dir.File("artic.vdb"), "vms: \"Orlic Artic 9\"\r\nvtt: 2\r\n");
    WriteAll(dir.File("nomodel.vdb"), "vtt: 2\r\nvti: 0\r\n");
    const CliRun r =
        Halcyra({"--simulator", "--sim-restart-ms", "300", "load-profile", dir.File("artic.vdb"), "--yes"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Vehicle Model: Orlic Artic 9\n", r.out);

    const std::string trace = dir.File("trace.txt");
    const CliRun refused = Halcyra({"--simulator", "--trace", trace, "load-profile", dir.File("nomodel.vdb"), "--yes"});
    EXPECT_EQ(1, refused.status);
    EXPECT_TRUE(Contains(refused.err, "Invalid Vehicle Profile")) << refused.err;
    const std::string traced = ReadAll(trace);
    EXPECT_EQ(1, std::count(traced.begin(), traced.end(), '\n')) << "the trace's heading alone: nothing sent\n" << traced;

    const CliRun unsupported =
        Halcyra({"--simulator", "--sim-unknown-params", "xvp", "load-profile", dir.File("artic.vdb"), "--yes"});
    EXPECT_EQ(1, unsupported.status);
    EXPECT_TRUE(Contains(unsupported.err, "does not take vehicle profiles"));
}

TEST(VehicleCli, LoadProfileShowsAFileNameWithItsControlCharactersEscaped)
{
    ScratchDir dir;
    const std::string name = "artic\x1B]2;owned\x07\x1B[1A\n.vdb";
    WriteAll(dir.File(name), "vms: \"Orlic Artic 9\"\r\nvtt: 2\r\n");
    const CliRun r = Halcyra({"--simulator", "--sim-restart-ms", "300", "load-profile", dir.File(name), "--yes"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_TRUE(Contains(r.err, "Vehicle profile " + dir.File("artic\\x1B]2;owned\\x07\\x1B[1A\\x0A.vdb") +
                                    ": Orlic Artic 9\n"))
        << r.err;
    EXPECT_EQ(std::string::npos, (r.err + r.out).find_first_of("\x1B\x07")) << r.err;
}

TEST(VehicleCli, PagesConfigFollowsTheVehicleAndTheCorrection)
{
    const CliRun r = Halcyra({"--simulator", "--sim-set", "vtt=2", "--sim-set", "gct=3", "pages", "config"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Vehicle Model\nDisplayed Units and Language\nGPS Configuration\nLightbar Configuration\n"
              "Operational Parameters\nSensors Configuration\nValve On Speed\n",
              r.out);
}
