// The log writer: silent without a path, verbatim text, refresh past the cap.
#include <gtest/gtest.h>

#include "Log.h"
#include "TempDir.h"

class LogWriterTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetLogPath("");
        SetLogEnabled(true);
        SetLogMaxSize(0);
    }
    TempDir dir_;
};

TEST_F(LogWriterTest, WritesNothingWithoutAPathOrWithANegativeCap)
{
    SetLogPath("");
    LogMessage("lost %d\n", 1);
    const std::string path = dir_.File("log.txt");
    SetLogPath(path.c_str());
    SetLogMaxSize(-1);
    LogMessage("lost %d\n", 2);
    EXPECT_EQ("", ReadFile(path));
}

TEST_F(LogWriterTest, AppendsTextExactlyAsFormatted)
{
    const std::string path = dir_.File("log.txt");
    SetLogPath(path.c_str());
    SetLogMaxSize(1000);
    LogMessage("Kill Check (%s) [H:%08X,T:%08X] : ", "a.exe", 0x1Cu, 0xABCu);
    LogMessage("Already End.\n");
    EXPECT_EQ("Kill Check (a.exe) [H:0000001C,T:00000ABC] : Already End.\n", ReadFile(path));
}

TEST_F(LogWriterTest, StartsAfreshPastTheCap)
{
    const std::string path = dir_.File("log.txt");
    WriteFile(path, std::string(40, 'x'));
    SetLogPath(path.c_str());
    SetLogMaxSize(16);
    LogMessage("line\n");
    EXPECT_EQ("Logfile was Refreshed.  [MAX=16 Bytes.]\nline\n", ReadFile(path));
}

TEST_F(LogWriterTest, UnwritableFileSwitchesLoggingOff)
{
    SetLogPath(dir_.File("missing-folder/log.txt").c_str());
    SetLogMaxSize(1000);
    LogMessage("x");
    EXPECT_FALSE(IsLogEnabled());
}
