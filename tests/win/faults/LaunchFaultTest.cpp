// Launches that go wrong, in-process: a program that crashes at start, one that never
// becomes ready, one that closes its window at once, a console program, a missing program,
// a duplicate, a document the shell cannot open and one whose program crashes. Each must
// end within its bound (no more search passes than the time-out allows; the pauses are
// counted, not waited), give the expected result and log line, and leave no handle open and
// none kept except the one a test launch keeps until it is ended or its executant destroyed.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "Executant.h"
#include "FaultTestSupport.h"
#include "LaunchMessages.h"
#include "LaunchSettings.h"
#include "WinTestSupport.h"

namespace {

constexpr unsigned kTerminate = 4;
const char kRunningCopy[] = "dupe-fault.exe";

enum Program { kTestApp, kConsole, kMissing, kRunningCopyOf, kDocument, kMissingDocument };

// Which log line tells the outcome.
enum Outcome {
    kStarted,        // created; nothing else to say
    kCreateFailed,   // "CreateProcess(%s) Failed."
    kTimedOut,       // "(%s)は起動完了待ﾀｲﾑｱｳﾄ(%d s)."
    kWaitFailed,     // "(%s)はProcessﾊﾝﾄﾞﾙが獲得できません."
    kDuplicate,      // "Module [%s] Already Running in Desktop[(null)]."
    kShellFailed,    // "ShellExecuteEx(%s) -> Exec Faild."
    kShellNoWindow,  // "ToplevelWindow が獲得できませんでした."
};

struct Fault {
    const char* name;
    Program program;
    const char* options;
    int inputTimeout;
    int launchResult;  // Launch; a test launch gives 0 wherever a process was created
    Outcome outcome;
    bool searched;     // the window search ran all its passes in vain
    int kept;          // process handles a test launch keeps
};

// Programs that end are waited for until they have ended, so their time-outs are generous;
// the search passes after such a wait are counted, not waited for.
const Fault kFaults[] = {
    {"crash at start", kTestApp, "--crash", 5000, 0, kStarted, true, 1},
    {"never ready", kTestApp, "--busy 30000", 300, 0, kTimedOut, false, 0},
    {"closes its window at once", kTestApp, "--close-at-once", 5000, 0, kStarted, true, 1},
    {"exits at once", kTestApp, "--exit", 5000, 0, kStarted, true, 1},
    {"exits at once, no wait", kTestApp, "--exit", 0, 0, kStarted, false, 1},
    {"console program", kConsole, "--lifetime 30000", 5000, 0, kWaitFailed, false, 0},
    {"missing program", kMissing, "", 5000, -1, kCreateFailed, false, 0},
    {"duplicate", kRunningCopyOf, "", 5000, 1, kDuplicate, false, 1},
    {"document the shell cannot open", kMissingDocument, "", 5000, 0, kShellFailed, false, 0},
    {"document whose program crashes", kDocument, "--crash", 5000, 0, kShellNoWindow, false, 0},
};

class LaunchFaults : public ::testing::Test {
protected:
    TempFolder folder_;
    CapturedLog log_;
    PauseRecorder pauses_;

    void SetUp() override { EndTestPrograms(); }
    void TearDown() override
    {
        EndTestPrograms();
        EndPrograms({kRunningCopy});
    }

    std::unique_ptr<Executant> Make(const Fault& fault, int index)
    {
        const std::string arguments =
            "--report " + folder_.File("report" + std::to_string(index) + ".txt") + " " + fault.options;
        const std::string document = folder_.File("doc" + std::to_string(index) + kTestExtension);
        EntrySettings settings = {
            {"ExecutionInputTO", std::to_string(fault.inputTimeout)},
            {"ExecutionPosition", "30,40"},
            {"ExecutionSize", "320,200"},
            {"ExecutionArguments", arguments},
        };
        switch (fault.program) {
        case kTestApp: settings.push_back({"ExecutionFileName", TestAppPath()}); break;
        case kConsole: settings.push_back({"ExecutionFileName", ConsoleTestAppPath()}); break;
        case kMissing: settings.push_back({"ExecutionFileName", folder_.File("missing.exe")}); break;
        case kRunningCopyOf:
            settings.push_back({"ExecutionFileName", folder_.File(kRunningCopy)});
            settings.push_back({"ExecutionInitialOnce", "1"});
            break;
        case kDocument:
        case kMissingDocument:
            if (fault.program == kDocument) std::ofstream(document) << arguments << "\n";
            settings = {{"ExecutionFileName", "document"}, {"ExecutionArguments", document},
                        {"ExecutionShellExec", "1"}, settings[0], settings[1], settings[2]};
            break;
        }
        return MakeExecutant(settings);
    }

    static std::string ExpectedLog(const Fault& fault, const Executant& e)
    {
        const std::string commandLine = BuildCommandLine(e.FileName.Text(), e.Arguments.Text());
        const char* file = e.FileName.Text();
        char line[1024] = {0};
        switch (fault.outcome) {
        case kStarted: std::snprintf(line, sizeof line, LaunchText::kCreateSucceeded, commandLine.c_str()); break;
        case kCreateFailed: std::snprintf(line, sizeof line, LaunchText::kCreateFailed, commandLine.c_str()); break;
        case kTimedOut: std::snprintf(line, sizeof line, LaunchText::kIdleTimeout, file, fault.inputTimeout / 1000); break;
        case kWaitFailed: std::snprintf(line, sizeof line, LaunchText::kNoProcessHandle, file); break;
        case kDuplicate: std::snprintf(line, sizeof line, LaunchText::kAlreadyRunning, file, "(null)"); break;
        case kShellFailed:
            std::snprintf(line, sizeof line, LaunchText::kShellHead, e.Arguments.Text());
            return line + std::string(LaunchText::kShellExecFailed);
        case kShellNoWindow: return LaunchText::kNoTopLevelWindow;
        }
        return line;
    }
};

TEST_F(LaunchFaults, EveryFaultEndsInItsBoundWithNoHandleLeft)
{
    ChildProcess running = StartTestAppCopy(folder_.File(kRunningCopy));
    ASSERT_TRUE(running.Running());
    TestFileType fileType;
    // Wine opens some handles of its own on first use (the shell, the registry): one launch of
    // each kind first, so that the table below only shows what the engine leaves.
    for (const Fault& fault : kFaults) Make(fault, 0)->Launch(nullptr);
    const HandleTally before = CurrentHandles();
    const int tableBefore = LaunchHandlesInTable();

    int index = 0;
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        std::unique_ptr<Executant> e = Make(fault, ++index);
        log_.Clear();
        const size_t pausesBefore = pauses_.Pauses().size();
        EXPECT_EQ(fault.launchResult, e->Launch(nullptr));
        const size_t passes = fault.searched ? SearchPasses(BoundedInputTimeout(fault.inputTimeout)) : 0;
        EXPECT_EQ(passes * kSearchLooksPerPass, pauses_.Pauses().size() - pausesBefore);
        EXPECT_NE(std::string::npos, log_.Text().find(ExpectedLog(fault, *e))) << log_.Text();
        EXPECT_EQ(before, CurrentHandles());
        if (fault.program == kRunningCopyOf) {
            // Named, the desktop is opened to look for the copy there, and closed again.
            EXPECT_EQ(1, e->Launch("Default"));
            EXPECT_EQ(before, CurrentHandles());
        }

        // A second test launch first closes what the first one kept; ending closes the rest, and
        // so does destroying the executant after a third.
        for (int round = 0; round < 3; ++round) {
            if (round == 2) {
                e->EndApplication(kTerminate);
                EXPECT_EQ(before, CurrentHandles());
                EXPECT_EQ(nullptr, e->ProcessHandle);
            }
            EXPECT_EQ(fault.launchResult < 0 ? fault.launchResult : 0, e->TestLaunch());
            HandleTally expected = before;
            expected.kept += fault.kept;
            EXPECT_EQ(expected, CurrentHandles()) << "round " << round;
        }
        e.reset();
        EXPECT_EQ(before, CurrentHandles());
    }
    EXPECT_EQ(tableBefore, LaunchHandlesInTable());
}

}  // namespace
