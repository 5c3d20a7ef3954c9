// The settings file on Windows: a read-only list, or one another program holds open, is
// neither replaced nor lost, and what the user is told is read from the screen; with the
// fault gone the list is saved over itself in text mode (CR LF on disk), Shift-JIS names
// intact, no temporary file is left behind, and a file of the user's that happens to have
// the first temporary name is kept as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "RingList.h"
#include "SettingsFile.h"
#include "WinTestSupport.h"

namespace {

// A list of one entry, as the writer writes it.
std::string List(const std::string& fileName)
{
    return ";Lodestay\r\nFileVersion\t0x0110\r\nExecutant::RingListClass\t{\r\n\tExecutionFileName\t" + fileName +
           "\r\n\tExecutionArguments\tメモ.txt\r\n\tExecutionPosition\t10,20\r\n\tExecutionShowMode\t3\r\n"
           "\tExecutionInputTO\t0\r\n}\r\n";
}

TEST(SettingsFileOnWindows, AReadOnlyOrHeldFileIsKeptAndTheUserToldThenSavedOverItself)
{
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "held open");
        TempFolder folder;
        const std::string path = folder.File("Default.ini");
        const std::string oldList = List("c:\\表\\ソフト.exe");
        ASSERT_TRUE(WriteTextFile(path, oldList) && WriteTextFile(path + ".new", "mine"));
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
            EXPECT_STREQ("warning", boxes[0].icon);
            EXPECT_EQ(readOnly, (::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
        }
        EXPECT_EQ(oldList, ReadTextFile(path));
        // The list and the user's file alone: no temporary file left beside them.
        EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(folder.Path()), {}));

        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        MessageBoxWatcher watcher;
        EXPECT_TRUE(SaveSettingsFile(path.c_str(), head));
        EXPECT_TRUE(watcher.Stop().empty());
        EXPECT_EQ(List("c:\\tools\\new.exe"), ReadTextFile(path));
        EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(folder.Path()), {}));
        EXPECT_EQ("mine", ReadTextFile(path + ".new"));
        DeleteRing(head);
    }
}

}  // namespace
