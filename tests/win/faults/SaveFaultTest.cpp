// The settings file on Windows: written in text mode (CR LF on disk) and read back the same;
// a read-only list, or one another program holds open, is neither replaced nor lost, and what
// the user is told is read from the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform.h"
#include "RingList.h"
#include "SettingsFile.h"
#include "WinTestSupport.h"

namespace {

const char kOldList[] =
    ";Lodestay\r\n"
    "FileVersion\t0x0110\r\n"
    "Executant::RingListClass\t{\r\n"
    "\tExecutionFileName\tc:\\tools\\old.exe\r\n"
    "\tExecutionArguments\tメモ.txt\r\n"
    "\tExecutionPosition\t10,20\r\n"
    "\tExecutionShowMode\t1\r\n"
    "}\r\n"
    "Executant::RingListClass\t{\r\n"
    "\tExecutionFileName\tc:\\表\\ソフト.exe\r\n"
    "\tExecutionShowMode\t3\r\n"
    "\tExecutionInputTO\t0\r\n"
    "}\r\n";

// Every file name in the folder, so that a stray temporary file shows.
std::vector<std::string> FilesIn(const TempFolder& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(folder.File("*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileA(find, &data))
        if (data.cFileName[0] != '.') names.push_back(data.cFileName);
    if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    return names;
}

TEST(SettingsFileOnWindows, SavesCrLfOverItselfAndReadsBackTheSame)
{
    TempFolder folder;
    const std::string path = folder.File("Default.ini");
    ASSERT_TRUE(WriteTextFile(path, kOldList));
    EXPECT_EQ(static_cast<long long>(sizeof kOldList - 1), PlatformFileSize(path.c_str()));
    EXPECT_EQ(-1, PlatformFileSize(folder.Path().c_str()));
    EXPECT_EQ(-1, PlatformFileSize(folder.File("missing.ini").c_str()));

    Executant* head = LoadSettingsFile(path.c_str());
    ASSERT_NE(nullptr, head);
    EXPECT_STREQ("メモ.txt", head->Arguments.Text());
    EXPECT_EQ(20, head->PositionY);
    ASSERT_TRUE(SaveSettingsFile(path.c_str(), head));
    DeleteRing(head);
    EXPECT_EQ(kOldList, ReadTextFile(path));
    EXPECT_EQ(std::vector<std::string>{"Default.ini"}, FilesIn(folder));
}

TEST(SettingsFileOnWindows, AReadOnlyOrHeldFileIsKeptAndTheUserTold)
{
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "held open");
        TempFolder folder;
        const std::string path = folder.File("Default.ini");
        ASSERT_TRUE(WriteTextFile(path, kOldList));
        Executant* head = LoadSettingsFile(path.c_str());
        ASSERT_NE(nullptr, head);
        head->FileName.Assign("c:\\tools\\new.exe");
        {
            HeldFile held(readOnly ? std::string() : path);
            if (readOnly) {
                ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
            }
            ASSERT_NE(readOnly, held.Held());
            MessageBoxWatcher watcher;
            EXPECT_FALSE(SaveSettingsFile(path.c_str(), head));
            const std::vector<MessageBoxSeen>& boxes = watcher.Stop();
            ASSERT_EQ(1u, boxes.size());
            EXPECT_EQ("ﾌｧｲﾙが作成できませんでした.", boxes[0].text);
            EXPECT_EQ("lodestay_fault_tests", boxes[0].caption);
            EXPECT_STREQ("warning", boxes[0].icon);
            EXPECT_EQ(readOnly, (::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
            // The reader cannot tell a held file from a missing one: nothing loads, nothing is said.
            if (!readOnly) {
                MessageBoxWatcher silent;
                EXPECT_EQ(nullptr, LoadSettingsFile(path.c_str()));
                EXPECT_TRUE(silent.Stop().empty());
            }
        }
        EXPECT_EQ(kOldList, ReadTextFile(path));
        EXPECT_EQ(std::vector<std::string>{"Default.ini"}, FilesIn(folder));

        // The fault gone, the same list is saved.
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        MessageBoxWatcher watcher;
        EXPECT_TRUE(SaveSettingsFile(path.c_str(), head));
        EXPECT_TRUE(watcher.Stop().empty());
        EXPECT_NE(std::string::npos, ReadTextFile(path).find("c:\\tools\\new.exe"));
        DeleteRing(head);
    }
}

}  // namespace
