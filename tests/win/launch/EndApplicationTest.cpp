// Ending a test-launched application: the chosen methods in their fixed order, a pause only
// after a post that succeeded, one log line assembled piece by piece, a program that has
// already ended only noted, and nothing at all for a handle that is no process.
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
};

TEST_F(EndApplication, RunsTheChosenMethodsInOrderPausingAfterSuccessfulPosts)
{
    const struct {
        unsigned methods;
        bool console;         // its thread has no message queue: both posts fail
        const char* options;
        const char* tags;
        std::vector<unsigned> pauses;
        bool ends;
    } cases[] = {
        {1, false, "", "Post(WM_CLOSE) ", {}, false},  // a thread message WM_CLOSE reaches no window
        {2, false, "", "Post(WM_QUIT) ", {}, true},
        {1 | 4, false, "", "Post(WM_CLOSE) TerminateProcess()", {500}, true},
        {1 | 2 | 4, false, "", "Post(WM_CLOSE) Post(WM_QUIT) TerminateProcess()", {500, 500}, true},
        {1 | 2 | 4, true, "", "Post(WM_CLOSE) Post(WM_QUIT) TerminateProcess()", {}, true},
        {1 | 2 | 4, false, " --exit", "Already End.", {}, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(++n);
        const std::string report = folder_.File("end" + std::to_string(n) + ".txt");
        auto e = MakeExecutant({{"ExecutionFileName", c.console ? ConsoleTestAppPath() : TestAppPath()},
                                {"ExecutionArguments", "--report " + report + c.options},
                                {"ExecutionInputTO", "0"}});
        ASSERT_EQ(0, e->TestLaunch());
        // Our own handle, to see whether the program ended after the kept one was closed; it
        // ends the program when the case is over.
        ChildProcess watch(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE,
                                         ::GetProcessId(static_cast<HANDLE>(e->ProcessHandle))));
        WaitForReport(report);
        if (*c.options != 0) {
            ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(watch.Get(), 10000));
        }
        char head[512];
        std::snprintf(head, sizeof head, "Kill Check (%s) [H:%08X,T:%08X] : ", e->FileName.Text(),
                      static_cast<unsigned>(reinterpret_cast<UINT_PTR>(e->ProcessHandle)), e->ThreadId);
        log_.Clear();
        PauseRecorder pauses;
        EXPECT_EQ(0, e->EndApplication(c.methods));
        EXPECT_EQ(head + std::string(c.tags) + "\n", log_.Text());
        EXPECT_EQ(c.pauses, pauses.Pauses());
        EXPECT_EQ(nullptr, e->ProcessHandle);
        EXPECT_EQ(0u, e->ThreadId);
        EXPECT_EQ(c.ends ? WAIT_OBJECT_0 : WAIT_TIMEOUT, ::WaitForSingleObject(watch.Get(), c.ends ? 10000 : 0));
    }
}

// Nothing kept, or a handle that is no process: forgotten, with nothing done and nothing logged.
TEST_F(EndApplication, ForgetsWhatIsNoProcessSilently)
{
    Executant e;
    for (HANDLE handle : {static_cast<HANDLE>(nullptr), ::CreateEventA(nullptr, TRUE, FALSE, nullptr)}) {
        e.ProcessHandle = handle;
        e.ThreadId = 42;
        EXPECT_EQ(0, e.EndApplication(7));
        EXPECT_EQ(nullptr, e.ProcessHandle);
        EXPECT_EQ(0u, e.ThreadId);
        EXPECT_EQ("", log_.Text());
    }
}

}  // namespace
