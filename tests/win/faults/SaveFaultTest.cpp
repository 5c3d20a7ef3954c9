// Settings files that cannot be replaced or read: a read-only list and one that another
// program holds open without sharing. The user's file must come out unchanged, and what the
// user is told is read from the screen.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FileLock.h"
#include "RingList.h"
#include "SettingsFile.h"
#include "WinTestSupport.h"

namespace {

const char kOldList[] =
    ";Lodestay\r\n"
    "FileVersion\t0x0110\r\n"
    "Executant::RingListClass\t{\r\n"
    "\tExecutionFileName\tc:\\tools\\old.exe\r\n"
    "\tExecutionPosition\t10,20\r\n"
    "}\r\n";

// Every file name in the folder, so that a stray temporary file shows.
std::vector<std::string> FilesIn(const TempFolder& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(folder.File("*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

// A list that differs from the file: the one record got another program.
Executant* ChangedList(const std::string& path)
{
    Executant* head = LoadSettingsFile(path.c_str());
    if (head != nullptr) head->FileName.Assign("c:\\tools\\new.exe");
    return head;
}

TEST(SaveFaults, AReadOnlyOrLockedTargetKeepsTheOldFileAndTellsTheUser)
{
    enum Fault { kReadOnly, kLockedByAnotherProgram };
    for (Fault fault : {kReadOnly, kLockedByAnotherProgram}) {
        SCOPED_TRACE(fault == kReadOnly ? "read-only" : "locked");
        TempFolder folder;
        const std::string path = folder.File("Default.ini");
        ASSERT_TRUE(WriteTextFile(path, kOldList));
        Executant* head = ChangedList(path);
        ASSERT_NE(nullptr, head);
        {
            std::unique_ptr<FileLock> lock;
            if (fault == kReadOnly) {
                ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
            } else {
                lock.reset(new FileLock(path));
                ASSERT_TRUE(lock->Held());
            }
            MessageBoxWatcher watcher;
            EXPECT_FALSE(SaveSettingsFile(path.c_str(), head));
            const std::vector<MessageBoxSeen>& boxes = watcher.Stop();
            ASSERT_EQ(1u, boxes.size());
            EXPECT_EQ("ﾌｧｲﾙが作成できませんでした.", boxes[0].text);
            EXPECT_EQ("lodestay_save_fault_tests", boxes[0].caption);
            EXPECT_STREQ("warning", boxes[0].icon);
        }
        EXPECT_EQ(kOldList, ReadTextFile(path));
        EXPECT_EQ(std::vector<std::string>{"Default.ini"}, FilesIn(folder));
        if (fault == kReadOnly) {
            EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        }

        // The fault gone, the same list is saved.
        MessageBoxWatcher watcher;
        EXPECT_TRUE(SaveSettingsFile(path.c_str(), head));
        EXPECT_TRUE(watcher.Stop().empty());
        EXPECT_NE(std::string::npos, ReadTextFile(path).find("c:\\tools\\new.exe"));
        DeleteRing(head);
    }
}

// The reader cannot tell a locked file from a missing one: it loads nothing and says
// nothing; what the user then sees is up to the caller (the unattended start names the
// file as one without applications).
TEST(LoadFaults, AFileLockedByAnotherProgramLoadsNothingAndSaysNothing)
{
    TempFolder folder;
    const std::string path = folder.File("Default.ini");
    ASSERT_TRUE(WriteTextFile(path, kOldList));
    {
        FileLock lock(path);
        ASSERT_TRUE(lock.Held());
        MessageBoxWatcher watcher;
        EXPECT_EQ(nullptr, LoadSettingsFile(path.c_str()));
        EXPECT_TRUE(watcher.Stop().empty());
    }
    Executant* head = LoadSettingsFile(path.c_str());
    ASSERT_NE(nullptr, head);
    EXPECT_STREQ("c:\\tools\\old.exe", head->FileName.Text());
    DeleteRing(head);
}

}  // namespace
