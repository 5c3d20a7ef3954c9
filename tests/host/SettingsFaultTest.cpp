// Damaged and hostile settings files, and saving into places that refuse the bytes: the
// reader keeps what is valid and never crashes, the writer never loses the old file.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "FakePlatform.h"
#include "SettingsFile.h"
#include "TempDir.h"

namespace {

std::string Block(const std::string& name) { return "Executant::RingListClass\t{\n\tExecutionFileName\t" + name + "\n}\n"; }

class SettingsFaultTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFake(); }

    std::vector<std::string> Load(const std::string& bytes)
    {
        const std::string path = dir_.File("damaged.ini");
        WriteFile(path, bytes);
        std::vector<std::string> names;
        Executant* head = LoadSettingsFile(path.c_str());
        for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) names.push_back(e->FileName.Text());
        DeleteRing(head);
        return names;
    }

    TempDir dir_;
};

}  // namespace

TEST_F(SettingsFaultTest, EmptyAndGarbageFilesLoadNothingAndSayNothing)
{
    EXPECT_TRUE(Load("").empty());
    std::mt19937 random(20261206);
    std::string garbage;
    for (int i = 0; i < 64 * 1024; ++i) {
        char c = static_cast<char>(random() & 0xFF);
        // Braces would open blocks; this case is about bytes that mean nothing.
        if (c == '{' || c == '}') c = 'x';
        garbage += c;
    }
    EXPECT_TRUE(Load(garbage).empty());
    EXPECT_TRUE(Fake().messages.empty());
}

TEST_F(SettingsFaultTest, NulBytesEndTheTextOfTheirLine)
{
    std::string text = Block("a.exe");
    text += std::string("Executant::RingListClass\t{\n\tExecutionFileName\tb") + '\0' + "hidden.exe\n}\n";
    EXPECT_EQ((std::vector<std::string>{"a.exe", "b"}), Load(text));
}

TEST_F(SettingsFaultTest, MegabyteLineIsReadInPiecesAroundValidBlocks)
{
    const std::string text = Block("a.exe") + std::string(1 << 20, 'x') + "\n" + Block("b.exe");
    EXPECT_EQ((std::vector<std::string>{"a.exe", "b.exe"}), Load(text));
    EXPECT_TRUE(Fake().messages.empty());
}

TEST_F(SettingsFaultTest, HundredThousandBlocksLoadInOrder)
{
    std::string text;
    for (int i = 0; i < 100000; ++i) text += Block("app" + std::to_string(i) + ".exe");
    const std::vector<std::string> names = Load(text);
    ASSERT_EQ(100000u, names.size());
    EXPECT_EQ("app0.exe", names.front());
    EXPECT_EQ("app99999.exe", names.back());
}

TEST_F(SettingsFaultTest, BlockNeverClosedIsReportedOnce)
{
    EXPECT_EQ((std::vector<std::string>{"a.exe"}), Load(Block("a.exe") + "{\n\tExecutionFileName\tb.exe\n"));
    ASSERT_EQ(1u, Fake().messages.size());
    EXPECT_EQ("ファイル[" + dir_.File("damaged.ini") + "]の書式が不正です", Fake().messages[0].text);
}

TEST_F(SettingsFaultTest, CarriageReturnOnlyLineEndsReadAsLines)
{
    std::string text = ";Lodestay\rFileVersion\t0x0110\r";
    text += "Executant::RingListClass\t{\r\tExecutionFileName\ta.exe\r\tExecutionArguments\t-x\r}\r";
    text += "Executant::RingListClass\t{\r\n\tExecutionFileName\tb.exe\r\n}\r\n";
    EXPECT_EQ((std::vector<std::string>{"a.exe", "b.exe"}), Load(text));
    EXPECT_TRUE(Fake().messages.empty());
}

TEST_F(SettingsFaultTest, FullDiskLeavesTheOldFileIntact)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to mount a tiny tmpfs";
    const std::string mountPoint = dir_.File("tiny");
    mkdir(mountPoint.c_str(), 0755);
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const std::string path = mountPoint + "/list.ini";
    const std::string old = Block("old.exe");
    WriteFile(path, old);

    Executant* head = new Executant;
    head->FileName.Assign("first.exe");
    for (int i = 0; i < 2000; ++i) {
        auto* record = new Executant;
        record->FileName.Assign(("c:\\some\\long\\folder\\application" + std::to_string(i) + ".exe").c_str());
        head->InsertBefore(record);
    }
    const bool saved = SaveSettingsFile(path.c_str(), head);
    DeleteRing(head);
    const std::string after = ReadFile(path);
    struct stat info;
    const bool temporaryLeft = stat((path + ".new").c_str(), &info) == 0;
    umount(mountPoint.c_str());

    EXPECT_FALSE(saved);
    EXPECT_EQ(old, after);
    EXPECT_FALSE(temporaryLeft);
    ASSERT_EQ(1u, Fake().messages.size());
    EXPECT_EQ("ﾌｧｲﾙが作成できませんでした.", Fake().messages[0].text);
}
