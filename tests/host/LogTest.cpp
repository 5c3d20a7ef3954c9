// The log writer: silent without a path or with a negative cap, verbatim text, refresh past the cap.
#include <gtest/gtest.h>

#include "Log.h"
#include "TempDir.h"

TEST(LogWriter, WritesVerbatimWithinItsCap)
{
    TempDir dir;
    const std::string path = dir.File("log.txt");
    SetLogPath("");
    LogMessage("lost %d\n", 1);
    SetLogPath(path.c_str());
    SetLogMaxSize(-1);
    LogMessage("lost %d\n", 2);
    EXPECT_EQ("", ReadFile(path));

    WriteFile(path, std::string(40, 'x'));
    SetLogMaxSize(40);
    LogMessage("Kill Check (%s) [H:%08X,T:%08X] : ", "a.exe", 0x1Cu, 0xABCu);
    EXPECT_EQ(std::string(40, 'x') + "Kill Check (a.exe) [H:0000001C,T:00000ABC] : ", ReadFile(path));
    LogMessage("Already End.\n");
    EXPECT_EQ("Logfile was Refreshed.  [MAX=40 Bytes.]\nAlready End.\n", ReadFile(path));
    SetLogPath("");
}
