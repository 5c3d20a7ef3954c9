// Ending a test-launched application: the chosen methods in their fixed order, a pause only
// after a post that succeeded, one log line assembled piece by piece, and nothing at all
// for an executant that kept nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Executant.h"
#include "WinTestSupport.h"

namespace {

class EndApplication : public ::testing::Test {
protected:
    TempFolder folder_;
    CapturedLog log_;
    EndOnExit cleanup_;
    int count_ = 0;

    // Test-launches a copy (window program or console variant) that keeps a handle.
    std::unique_ptr<Executant> Started(const std::string& program, const char* timeout = "5000")
    {
        const std::string report = folder_.File("end" + std::to_string(++count_) + ".txt");
        auto e = MakeExecutant({{"ExecutionFileName", program},
                                {"ExecutionArguments", "--report " + report},
                                {"ExecutionInputTO", timeout}});
        EXPECT_EQ(0, e->TestLaunch());
        EXPECT_NE(nullptr, e->ProcessHandle);
        cleanup_.AddHandle(e->ProcessHandle);
        WaitForReport(report);
        return e;
    }

    static std::string Head(const Executant& e)
    {
        char head[512];
        std::snprintf(head, sizeof head, "Kill Check (%s) [H:%08X,T:%08X] : ", e.FileName.Text(),
                      static_cast<unsigned>(reinterpret_cast<UINT_PTR>(e.ProcessHandle)), e.ThreadId);
        return head;
    }

    // Our own handle, to see whether the program ended after the kept one was closed.
    static HANDLE Watch(const Executant& e)
    {
        return ::OpenProcess(SYNCHRONIZE, FALSE, ::GetProcessId(static_cast<HANDLE>(e.ProcessHandle)));
    }
};

TEST_F(EndApplication, RunsTheChosenMethodsInOrderPausingAfterSuccessfulPosts)
{
    struct Case {
        unsigned methods;
        const char* tags;
        std::vector<unsigned> pauses;
        bool ends;
        bool console;  // its thread has no message queue: both posts fail, no pause at all
    } cases[] = {
        {0, "", {}, false, false},
        {1, "Post(WM_CLOSE) ", {}, false, false},  // a thread message WM_CLOSE reaches no window
        {2, "Post(WM_QUIT) ", {}, true, false},
        {4, "TerminateProcess()", {}, true, false},
        {1 | 2, "Post(WM_CLOSE) Post(WM_QUIT) ", {500}, true, false},
        {1 | 4, "Post(WM_CLOSE) TerminateProcess()", {500}, true, false},
        {2 | 4, "Post(WM_QUIT) TerminateProcess()", {500}, true, false},
        {1 | 2 | 4, "Post(WM_CLOSE) Post(WM_QUIT) TerminateProcess()", {500, 500}, true, false},
        {1 | 2 | 4, "Post(WM_CLOSE) Post(WM_QUIT) TerminateProcess()", {}, true, true},
    };
    for (const Case& c : cases) {
        auto e = c.console ? Started(ConsoleTestAppPath(), "0") : Started(TestAppPath());
        HANDLE watch = Watch(*e);
        const std::string head = Head(*e);
        log_.Clear();
        PauseRecorder pauses;
        EXPECT_EQ(0, e->EndApplication(c.methods));
        SCOPED_TRACE(c.methods + 8 * c.console);
        EXPECT_EQ(head + c.tags + "\n", log_.Text());
        EXPECT_EQ(c.pauses, pauses.Pauses());
        EXPECT_EQ(nullptr, e->ProcessHandle);
        EXPECT_EQ(0u, e->ThreadId);
        EXPECT_EQ(c.ends ? WAIT_OBJECT_0 : WAIT_TIMEOUT, ::WaitForSingleObject(watch, c.ends ? 10000 : 0));
        ::CloseHandle(watch);
    }
}

TEST_F(EndApplication, AnEndedProgramIsOnlyNoted)
{
    const std::string report = folder_.File("gone.txt");
    auto e = MakeExecutant({{"ExecutionFileName", TestAppPath()},
                            {"ExecutionArguments", "--report " + report + " --exit"},
                            {"ExecutionInputTO", "0"}});
    ASSERT_EQ(0, e->TestLaunch());
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(static_cast<HANDLE>(e->ProcessHandle), 10000));
    const std::string head = Head(*e);
    log_.Clear();
    e->EndApplication(7);
    EXPECT_EQ(head + "Already End.\n", log_.Text());
    EXPECT_EQ(nullptr, e->ProcessHandle);

    // Nothing kept: nothing done, nothing logged.
    log_.Clear();
    e->ThreadId = 1234;
    EXPECT_EQ(0, e->EndApplication(7));
    EXPECT_EQ(0u, e->ThreadId);
    EXPECT_EQ("", log_.Text());

    // A handle that is no process: forgotten as silently.
    e->ProcessHandle = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    e->ThreadId = 42;
    EXPECT_EQ(0, e->EndApplication(7));
    EXPECT_EQ(nullptr, e->ProcessHandle);
    EXPECT_EQ(0u, e->ThreadId);
    EXPECT_EQ("", log_.Text());
}

}  // namespace
