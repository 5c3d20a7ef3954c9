// The unattended start end to end: lodestay.exe -e -p FILE over a list of test-application
// entries, in the same desktop as this driver. The driver reads the one message box the
// launcher may show (caption and the static text 0xFFFF), presses OK, and checks where the
// windows went from the programs' own reports.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "LaunchMessages.h"
#include "WinTestSupport.h"

namespace {

using Entry = EntrySettings;

class LaunchAllEndToEnd : public ::testing::Test {
protected:
    TempFolder folder_;
    EndOnExit cleanup_;

    std::string WriteSettings(const std::vector<Entry>& entries)
    {
        const std::string path = folder_.File("list.ini");
        WriteSettingsFile(path, entries);
        return path;
    }

    std::string ReportPath(const std::string& name) { return folder_.File(name + ".txt"); }

    Entry TestApp(const std::string& name, Entry more = {})
    {
        more.insert(more.begin(), {{"ExecutionFileName", TestAppPath()},
                                   {"ExecutionArguments", "--report " + ReportPath(name) + " --title " + name}});
        return more;
    }

    // The report of a program the launcher started, refreshed after the launcher ended.
    Report FinalReport(const std::string& name)
    {
        Report first = WaitForReport(ReportPath(name));
        const DWORD pid = ReportedProcessId(first);
        cleanup_.Add(pid);
        if (HWND window = WindowOfProcess(pid)) RequestReport(window);
        return ReadReport(ReportPath(name));
    }
};

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST_F(LaunchAllEndToEnd, PlacesEveryEntryAndSaysNothingWhenAllSucceed)
{
    struct Case {
        const char* name;
        const char* position;
        const char* size;
        const char* show;
        const char* priority;
        const char* extra;
        const char* showCmd;
        const char* priorityClass;
        const char* threadPriority;
    } cases[] = {
        {"E2E-normal", "20,20", "300,200", "1", "0x0011", "", "1", "0x40", "-2"},
        {"E2E-minimised", "340,20", "300,200", "2", "0x0025", "", "2", "0x20", "2"},
        {"E2E-maximised", "660,20", "300,200", "3", "0x0033", "", "3", "0x80", "0"},
        {"E2E-fixed", "20,260", "400,250", "1", "0x0004", " --fixed 800,700,150,100", "1", "0x20", "1"},
        {"E2E-unknown-show", "440,260", "300,200", "7", "0x0032", "", "1", "0x80", "-1"},
        // Its window comes after it became ready, so the first look finds nothing.
        {"E2E-late", "760,260", "300,200", "1", "0x0002", " --window-delay 300", "1", "0x20", "-1"},
    };
    std::vector<Entry> entries;
    for (const Case& c : cases) {
        Entry entry = TestApp(c.name, {{"ExecutionPath", folder_.Path()},
                                       {"ExecutionPosition", c.position},
                                       {"ExecutionSize", c.size},
                                       {"ExecutionShowMode", c.show},
                                       {"ExecutionPriority", c.priority}});
        entry[1].second += c.extra;
        // Nothing runs the test application yet, so the guard lets the first one through;
        // the others would be its duplicates.
        if (entries.empty()) entry.push_back({"ExecutionInitialOnce", "1"});
        entries.push_back(entry);
    }
    ProgramRun run = RunUnattended(WriteSettings(entries));
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(0, run.Count()) << run.Text();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report r = FinalReport(c.name);
        EXPECT_EQ(Lower(TestAppPath()) + " --report " + ReportPath(c.name) + " --title " + c.name + c.extra,
                  r["commandline"]);
        EXPECT_EQ(folder_.Path(), r["cwd"]);
        EXPECT_EQ(c.showCmd, r["window.showcmd"]);
        EXPECT_EQ(c.priorityClass, r["priorityclass"]);
        EXPECT_EQ(c.threadPriority, r["threadpriority"]);
        std::vector<long> expected = Numbers(c.position);
        for (long n : Numbers(c.size)) expected.push_back(n);
        EXPECT_EQ(expected, Numbers(r["window.normal"]));
        // The start-up block had already maximised the window when it was placed: it must
        // still fill the work area, not sit maximised in a frame of the registered size.
        if (std::string(c.showCmd) == "3") {
            RECT work;
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            EXPECT_GE(Numbers(r["window.rect"])[2], work.right - work.left);
        }
        if (std::string(c.showCmd) == "2") {
            EXPECT_EQ("1", r["window.iconic"]);
        }
        // Where the window is now, as any other program sees it.
        if (std::string(c.showCmd) == "1") {
            RECT rect = {};
            ::GetWindowRect(WindowOfProcess(ReportedProcessId(r)), &rect);
            EXPECT_EQ(expected, (std::vector<long>{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}));
        }
    }
}

TEST_F(LaunchAllEndToEnd, ReportsDuplicatesAndFailuresInOneMessage)
{
    ChildProcess running = StartTestAppCopy(folder_.File("dupe-e2e.exe"), ReportPath("dupe-e2e.exe"));
    const std::string duplicate = folder_.File("dupe-e2e.exe");
    const std::string missing = folder_.File("missing-e2e.exe");
    struct Case {
        int duplicates;
        int failures;
    } cases[] = {{1, 1}, {2, 0}, {0, 1}};
    for (const Case& c : cases) {
        std::vector<Entry> entries;
        for (int i = 0; i < c.duplicates; ++i) {
            entries.push_back({{"ExecutionFileName", duplicate}, {"ExecutionInitialOnce", "1"}});
        }
        for (int i = 0; i < c.failures; ++i) entries.push_back({{"ExecutionFileName", missing}});
        entries.push_back(TestApp("good-" + std::to_string(c.duplicates)));

        ProgramRun run = RunUnattended(WriteSettings(entries));
        FinalReport("good-" + std::to_string(c.duplicates));
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(1, run.Count());
        EXPECT_EQ("lodestay", run.Caption());
        std::string expected = LaunchText::kLaunchErrorHead;
        char line[256];
        if (c.duplicates > 0) {
            std::snprintf(line, sizeof line, LaunchText::kDuplicateCount, c.duplicates);
            expected += line;
        }
        if (c.failures > 0) {
            std::snprintf(line, sizeof line, LaunchText::kFailureCount, c.failures);
            expected += line;
        }
        EXPECT_EQ(expected, run.Text()) << c.duplicates << "/" << c.failures;
    }
}

}  // namespace
