// The duplicate guard compares programs by folded file name and extension; these cases are
// the ones where a careless split or fold would call two different programs the same.
#include <gtest/gtest.h>

#include <string>

#include "ModuleName.h"

namespace {

struct ModuleNameCase {
    const char* path;
    const char* expected;
};

TEST(ModuleName, DropsDirectoryAndFoldsAsciiCaseButNotShiftJis)
{
    const ModuleNameCase cases[] = {
        {"C:\\Tools\\App.EXE", "app.exe"},
        {"C:APP.EXE", "app.exe"},
        {"\\\\server\\share\\Dir\\Tool.Exe", "tool.exe"},
        {"c:/mixed\\sep/Prog.Com", "prog.com"},
        {"C:\\Tools\\app.exe.old", "app.exe.old"},
        {"C:\\Tools\\", ""},
        // "表" is 0x95 0x5C: its trail byte is a backslash and must not end the directory.
        {"C:\\\x95\x5C.EXE", "\x95\x5C.exe"},
        // A trail byte in the range of 'A'-'Z' ("ア" is 0x83 0x41) is not folded.
        {"D:\\Dir\\\x83\x41PP.EXE", "\x83\x41pp.exe"},
        // A lead byte cut off at the end of the text is kept as it stands.
        {"X\\A\x83", "a\x83"},
    };
    for (const ModuleNameCase& c : cases) EXPECT_EQ(c.expected, ModuleNameOf(c.path)) << c.path;
    EXPECT_EQ("", ModuleNameOf(nullptr));
}

// Folder, extension and trailing separator of the paths the editors and the main window split.
TEST(PathText, SplitsAndStripsWithoutCuttingCharactersOrRoots)
{
    const struct {
        const char* path;
        const char* folder;
        const char* extension;
        const char* stripped;
    } cases[] = {
        {"C:\\Tools\\App.Exe", "C:\\Tools\\", ".Exe", "C:\\Tools\\App.Exe"},
        {"C:\\Tools\\", "C:\\Tools\\", "", "C:\\Tools"},
        {"C:\\Tools\\\\", "C:\\Tools\\\\", "", "C:\\Tools\\"},
        {"C:\\", "C:\\", "", "C:\\"},
        {"\\", "\\", "", "\\"},
        {"d:/work/", "d:/work/", "", "d:/work"},
        {"C:\\a.b\\name", "C:\\a.b\\", "", "C:\\a.b\\name"},
        // 機能 ends in 0x5C: neither a separator to split at nor one to strip.
        {"C:\\\x8B\x40\x94\x5C", "C:\\", "", "C:\\\x8B\x40\x94\x5C"},
        {"C:\\\x8B\x40\x94\x5C\\x.txt", "C:\\\x8B\x40\x94\x5C\\", ".txt", "C:\\\x8B\x40\x94\x5C\\x.txt"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.folder, FolderPart(c.path)) << c.path;
        EXPECT_EQ(c.extension, ExtensionPart(c.path)) << c.path;
        std::string stripped(c.path);
        StripTrailingSeparator(stripped);
        EXPECT_EQ(c.stripped, stripped) << c.path;
    }
    EXPECT_EQ(nullptr, LastSeparator("\x8B\x40\x94\x5C"));
}

}  // namespace
