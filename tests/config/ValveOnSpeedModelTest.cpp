// The valve-on speed page: which settings are offered, which one the
// controller's values select, and what leaving sends.

#include "ConfigRig.h"
#include "config/ValveOnSpeedModel.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::vector<std::string> Offered(const CValveOnSpeedModel& model)
{
    std::vector<std::string> texts;
    for (const FieldChoice& c : model.entries)
        texts.push_back(c.text);
    return texts;
}

const std::vector<std::string> kAll = {"Normal", "Low", "Ultra Low"};

} // namespace

TEST(ValveOnSpeedPage, TheControllersSpeedSelectsTheSetting)
{
    struct Case {
        const char *smv, *lso, *sls;
        int chosen, initial;
    };
    for (const Case& c : {Case{"0.250000", "1", "0", 0, -1}, Case{"0.400000", "1", "0", 0, 0},
                          Case{"0.100000", "1", "0", 1, 1}, Case{"0.100000", "1", "1", 2, 2},
                          Case{"0.100000", "0", "0", 0, 0}}) {
        ConfigRig rig;
        rig.Set("smv", c.smv);
        rig.Set("lso", c.lso);
        rig.Set("sls", c.sls);
        CValveOnSpeedModel model;
        model.Read(rig.link, 1);
        EXPECT_EQ(c.chosen, model.chosen) << c.smv << " lso " << c.lso << " sls " << c.sls;
        EXPECT_EQ(c.initial, model.initialChoice) << c.smv << " lso " << c.lso << " sls " << c.sls;
    }
}

TEST(ValveOnSpeedPage, OfferedSettingsAndTheirSpeeds)
{
    ConfigRig rig;
    CValveOnSpeedModel model;
    model.Read(rig.link, 3);
    EXPECT_EQ(kAll, Offered(model));
    EXPECT_EQ("Normal: \t\t0.89 mph \r\nLow: \t\t0.22 mph \r\nUltra Low: \t0.04 mph \r\n", model.speeds);
    model.Read(rig.link, 0);
    EXPECT_EQ("Normal: \t\t1.44 km/h \r\nLow: \t\t0.36 km/h \r\nUltra Low \t0.07 km/h \r\n", model.speeds);

    rig.Set("lso", "0"); // a wheel speed sensor
    model.Read(rig.link, 0);
    EXPECT_EQ(std::vector<std::string>{"Normal"}, Offered(model));
    EXPECT_EQ("Normal: \t\t1.44 km/h \r\nLow Speed Operation is not permitted when using a wheel speed sensor.\r\n",
              model.speeds);

    ConfigRig older({{"unknown-params", "sls"}});
    model.Read(older.link, 0);
    EXPECT_EQ((std::vector<std::string>{"Normal", "Low"}), Offered(model));
    EXPECT_NE(std::string::npos, model.speeds.find("Ultra Low Speed not supported by current firmware \r\n"));

    ConfigRig silent({{"unknown-params", "smv"}});
    model.Read(silent.link, 0);
    EXPECT_TRUE(model.entries.empty());
    EXPECT_EQ(kNotAllRetrievedText, model.speeds);
    model.chosen = 0;
    model.Leave(silent.link);
    EXPECT_TRUE(silent.notifier.shown.empty()) << "nothing is saved after a failed read";
}

TEST(ValveOnSpeedPage, LeavingAsksOnlyForAChangeAndUltraLowWarnsFirst)
{
    ConfigRig rig;
    CValveOnSpeedModel model;
    model.Read(rig.link, 1);
    model.Leave(rig.link);
    EXPECT_TRUE(rig.notifier.shown.empty());

    model.chosen = CValveOnSpeedModel::kUltraLow;
    rig.notifier.answers = {MsgAnswer::Ok, MsgAnswer::No};
    model.Leave(rig.link);
    EXPECT_EQ((std::vector<std::string>{kUltraLowWarning, "Save Changes?"}), rig.notifier.Texts());
    EXPECT_EQ("Warning", rig.notifier.shown[0].caption);
    EXPECT_TRUE(rig.Sets().empty());

    model.Leave(rig.link);
    EXPECT_EQ((std::vector<std::string>{"sls: 1", "smv: 0.100000"}), rig.Sets());

    // Any choice is a change from a speed no setting gives.
    rig.Set("smv", "0.250000");
    rig.Set("sls", "0");
    rig.sent.clear();
    model.Read(rig.link, 1);
    model.Leave(rig.link);
    EXPECT_EQ((std::vector<std::string>{"sls: 0", "smv: 0.400000"}), rig.Sets());
}

TEST(ValveOnSpeedPage, FirmwareWithoutUltraLowIsNotSentItsSetting)
{
    ConfigRig rig({{"unknown-params", "sls"}});
    CValveOnSpeedModel model;
    model.Read(rig.link, 1);
    model.chosen = CValveOnSpeedModel::kLow;
    model.Leave(rig.link);
    EXPECT_EQ((std::vector<std::string>{"smv: 0.100000"}), rig.Sets());
}

TEST(ValveOnSpeedPage, AnUnusualSensorValueStillSelectsAnOfferedSetting)
{
    ConfigRig rig;
    rig.Set("lso", "2");
    rig.Set("smv", "0.100000");
    CValveOnSpeedModel model;
    model.Read(rig.link, 1);
    EXPECT_EQ(std::vector<std::string>{"Normal"}, Offered(model));
    EXPECT_EQ(CValveOnSpeedModel::kNormal, model.chosen);
    model.Leave(rig.link);
    EXPECT_TRUE(rig.Sets().empty());
}
