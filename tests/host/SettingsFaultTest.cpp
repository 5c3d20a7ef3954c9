// Damaged and hostile settings files, and saving into places that refuse the bytes: the
// reader keeps what is valid and never crashes, the writer never loses the old file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "FakePlatform.h"
#include "SettingsFile.h"
#include "TempDir.h"

// Allocation failure on demand: the test binary's own operator new, which fails the next
// allocation of at least a given size once armed. The nothrow forms then give null, the
// others throw std::bad_alloc, as the library's do when memory runs out.
namespace {

bool g_failArmed = false;
std::size_t g_failFromSize = 0;

// Arms one failure: the next allocation of at least `size` bytes fails.
void FailNextAllocation(std::size_t size)
{
    g_failFromSize = size;
    g_failArmed = true;
}

void* Allocate(std::size_t size)
{
    if (g_failArmed && size >= g_failFromSize) {
        g_failArmed = false;
        return nullptr;
    }
    return std::malloc(size != 0 ? size : 1);
}

}  // namespace

void* operator new(std::size_t size)
{
    if (void* memory = Allocate(size)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    if (void* memory = Allocate(size)) return memory;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

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

TEST_F(SettingsFaultTest, OutOfMemoryWhileSavingKeepsTheOldFile)
{
    const std::string path = dir_.File("list.ini");
    const std::string old = Block("old.exe");
    WriteFile(path, old);
    Executant record;
    record.FileName.Assign("new.exe");

    FailNextAllocation(0);  // the first thing the save needs: the name of the new file
    bool saved = true;
    EXPECT_NO_THROW(saved = SaveSettingsFile(path.c_str(), &record));
    EXPECT_FALSE(saved);
    EXPECT_EQ(old, ReadFile(path));
    ASSERT_EQ(1u, Fake().messages.size());
    EXPECT_EQ("ﾌｧｲﾙが作成できませんでした.", Fake().messages[0].text);
}

TEST_F(SettingsFaultTest, OutOfMemoryForTheFormatMessageStillShowsIt)
{
    // A path too long for the message's own buffer, in folders that exist.
    std::string folder = dir_.Path();
    while (folder.size() < 600) {
        folder += "/" + std::string(100, 'f');
        mkdir(folder.c_str(), 0755);
    }
    const std::string path = folder + "/broken.ini";
    WriteFile(path, Block("a.exe") + "{\n\tExecutionFileName\tb.exe\n");

    FailNextAllocation(path.size());  // only the message text is as long as the path
    std::vector<std::string> names;
    Executant* head = nullptr;
    EXPECT_NO_THROW(head = LoadSettingsFile(path.c_str()));
    for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) names.push_back(e->FileName.Text());
    DeleteRing(head);
    EXPECT_EQ((std::vector<std::string>{"a.exe"}), names);
    ASSERT_EQ(1u, Fake().messages.size());
    const std::string full = "ファイル[" + path + "]の書式が不正です";
    EXPECT_EQ(full.substr(0, 511), Fake().messages[0].text) << "the path is cut short, the message still comes";
}
