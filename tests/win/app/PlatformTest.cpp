// The Windows side of the core's platform seam, and the settings file as the Windows
// build writes it: text mode, so CR LF on disk.
#include <gtest/gtest.h>

#include <string>

#include "Platform.h"
#include "SettingsFile.h"
#include "WinTestSupport.h"

namespace {

std::string WithCrLf(const std::string& text)
{
    std::string converted;
    for (char c : text) {
        if (c == '\n') converted += '\r';
        converted += c;
    }
    return converted;
}

TEST(PlatformSeam, FileSize)
{
    TempFolder temp;
    const std::string file = temp.File("five.txt");
    ASSERT_TRUE(WriteTextFile(file, "12345"));
    EXPECT_EQ(5, PlatformFileSize(file.c_str()));
    ASSERT_TRUE(WriteTextFile(file, ""));
    EXPECT_EQ(0, PlatformFileSize(file.c_str()));
    EXPECT_EQ(-1, PlatformFileSize(temp.File("missing.txt").c_str()));
    EXPECT_EQ(-1, PlatformFileSize(temp.Path().c_str()));
}

TEST(PlatformSeam, ReplacesTheTarget)
{
    TempFolder temp;
    const std::string from = temp.File("new.tmp");
    const std::string to = temp.File("settings.ini");
    ASSERT_TRUE(WriteTextFile(from, "new"));
    ASSERT_TRUE(WriteTextFile(to, "old"));
    EXPECT_TRUE(PlatformReplaceFile(from.c_str(), to.c_str()));
    EXPECT_EQ("new", ReadTextFile(to));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(from.c_str()));

    EXPECT_FALSE(PlatformReplaceFile(temp.File("missing.tmp").c_str(), to.c_str()));
    EXPECT_EQ("new", ReadTextFile(to));
}

TEST(SettingsFileOnWindows, SavesCrLfAndLoadsBackTheSame)
{
    const std::string text =
        ";Lodestay\n"
        "FileVersion\t0x0110\n"
        "Executant::RingListClass\t{\n"
        "\tExecutionFileName\tc:\\windows\\notepad.exe\n"
        "\tExecutionArguments\tメモ.txt\n"
        "\tExecutionPosition\t10,20\n"
        "\tExecutionSize\t640,480\n"
        "\tExecutionShowMode\t1\n"
        "\tExecutionPriority\t0x0023\n"
        "}\n"
        "Executant::RingListClass\t{\n"
        "\tExecutionFileName\tc:\\表\\ソフト.exe\n"
        "\tExecutionShowMode\t3\n"
        "\tExecutionInputTO\t0\n"
        "}\n";
    TempFolder temp;
    const std::string original = temp.File("original.ini");
    const std::string saved = temp.File("saved.ini");
    ASSERT_TRUE(WriteTextFile(original, WithCrLf(text)));

    Executant* head = LoadSettingsFile(original.c_str());
    ASSERT_NE(nullptr, head);
    ASSERT_TRUE(SaveSettingsFile(saved.c_str(), head));
    DeleteRing(head);
    EXPECT_EQ(WithCrLf(text), ReadTextFile(saved));

    head = LoadSettingsFile(saved.c_str());
    ASSERT_NE(nullptr, head);
    EXPECT_STREQ("c:\\windows\\notepad.exe", head->FileName.Text());
    EXPECT_STREQ("メモ.txt", head->Arguments.Text());
    EXPECT_TRUE(head->PositionSet());
    EXPECT_EQ(10, head->PositionX);
    EXPECT_EQ(480, head->Height);
    EXPECT_EQ(0x23u, head->Priority);
    Executant* second = head->NextExecutant(head);
    ASSERT_NE(nullptr, second);
    EXPECT_STREQ("c:\\表\\ソフト.exe", second->FileName.Text());
    EXPECT_EQ(0, second->InputTimeout);
    EXPECT_EQ(nullptr, second->NextExecutant(head));
    DeleteRing(head);
}

}  // namespace
