#include "InProcessController.h"
#include "link/ControllerLink.h"
#include "pages/PageLogic.h"

#include <gtest/gtest.h>

#ifdef HALCYRA_PTY_SIMULATOR
#include "SimFixture.h"
#endif

using namespace halcyra;
using namespace halcyra::test;

#ifdef HALCYRA_PTY_SIMULATOR

TEST(PageLogic, EmptyPageNeverReportsMissingParameters)
{
    sim::SimOptions o;
    o.faults.silent = true;
    Connected s(o);
    CPageLogic page;
    EXPECT_TRUE(page.FetchAll(s.link));
    for (const auto& box : s.notifier.shown)
        EXPECT_NE(kNotAllRetrievedText, box.text);
}

TEST(PageLogic, FailedGetIsReportedOnceAndPageKeepsValues)
{
    Connected s;
    CPageLogic page;
    CUIntParam vtt("vtt", &page.params);
    CUIntParam missing("zzzMissing", &page.params);
    EXPECT_FALSE(page.FetchAll(s.link));
    EXPECT_EQ(5u, vtt.value);
    ASSERT_EQ(1u, s.notifier.shown.size());
    EXPECT_EQ(kNotAllRetrievedText, s.notifier.shown[0].text);
    EXPECT_EQ(kAppTitle, s.notifier.shown[0].caption);
    EXPECT_EQ("m", page.units.UnitName());
}

TEST(PageLogic, SaveChangesYesWritesNoKeepsEditsUntilNextFetch)
{
    Connected s;
    CPageLogic page;
    CUIntParam lbi("lbi", &page.params);
    ASSERT_TRUE(page.FetchAll(s.link));
    const std::string original = s.Param("lbi");

    lbi.value = 5;
    s.notifier.answers = {MsgAnswer::No};
    page.OnLeave(s.link);
    EXPECT_EQ("Save Changes?", s.notifier.shown.back().text);
    EXPECT_EQ("Save", s.notifier.shown.back().caption);
    EXPECT_EQ(original, s.Param("lbi"));
    EXPECT_EQ(5u, lbi.value);
    ASSERT_TRUE(page.FetchAll(s.link));
    EXPECT_EQ(std::stoul(original), lbi.value);

    lbi.value = 5;
    s.notifier.answers = {MsgAnswer::Yes};
    page.OnLeave(s.link);
    EXPECT_EQ("5", s.Param("lbi"));
    EXPECT_EQ(MsgAnswer::Yes, page.lastAnswer);
}

TEST(PageLogic, DiscardChangesNoSavesYesDiscards)
{
    Connected s;
    CPageLogic page;
    CUIntParam lbi("lbi", &page.params);
    ASSERT_TRUE(page.FetchAll(s.link));
    const std::string original = s.Param("lbi");

    lbi.value = 4;
    s.notifier.answers = {MsgAnswer::Yes};
    page.OnCancel(s.link);
    EXPECT_EQ("Discard Changes?", s.notifier.shown.back().text);
    EXPECT_EQ(" ", s.notifier.shown.back().caption);
    EXPECT_EQ(original, s.Param("lbi"));

    page.modifiedFlag = true; // a page-level change with no parameter change
    s.notifier.answers = {MsgAnswer::No};
    page.OnCancel(s.link);
    EXPECT_EQ("4", s.Param("lbi"));
    EXPECT_FALSE(page.modifiedFlag);
}

TEST(PageLogic, ResetWaitsForTheControllerToAnswerAgain)
{
    sim::SimOptions o;
    o.settings.restartTime = std::chrono::milliseconds(600);
    Connected s(o);
    std::vector<bool> busy;
    const auto t0 = std::chrono::steady_clock::now();
    ResetControllerAndWait(s.link, [&](bool b) { busy.push_back(b); }, std::chrono::milliseconds(100));
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(600));
    EXPECT_EQ((std::vector<bool>{true, false}), busy);
    ASSERT_EQ(1u, s.notifier.shown.size()); // the reset notice, and no communication error
    EXPECT_EQ(kResetText, s.notifier.shown[0].text);
    EXPECT_EQ("", s.notifier.shown[0].caption);
}
#endif

TEST(PageLogic, AControllerThatNeverComesBackIsPolledSixteenTimesThenOneBox)
{
    InProcessController c;
    c.unanswered = [](const sim::Request&) { return true; };
    const auto t0 = std::chrono::steady_clock::now();
    ResetControllerAndWait(c.link, {}, std::chrono::milliseconds(0));
    const auto waited = std::chrono::steady_clock::now() - t0;
    EXPECT_EQ(17, c.requests) << "the reset, then 16 status polls";
    EXPECT_GE(waited, std::chrono::milliseconds(16 * 250));
    EXPECT_LT(waited, std::chrono::milliseconds(16 * 250 + 1000));
    EXPECT_EQ((std::vector<std::string>{kResetText, kTransactionErrorText}), c.notifier.Texts());
}
