// Shift-JIS paths as the duplicate guard, the editors and the main window split them: module
// name (where a careless split or fold would call two different programs the same), folder,
// extension and trailing separator. Many kanji end in byte 0x5C, which must not be taken for
// a backslash. And the extension list that tells a program from a document.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtensionList.h"
#include "ModuleName.h"
#include "StringClass.h"

TEST(PathText, SplitsFoldsAndStripsWithoutCuttingCharactersOrRoots)
{
    const struct {
        const char* path;
        const char* folder;
        const char* extension;
        const char* stripped;
        const char* module;
    } cases[] = {
        {"C:APP.EXE", "C:", ".EXE", "C:APP.EXE", "app.exe"},
        {"c:/mixed\\sep/Prog.Com", "c:/mixed\\sep/", ".Com", "c:/mixed\\sep/Prog.Com", "prog.com"},
        {"C:\\Tools\\app.exe.old", "C:\\Tools\\", ".old", "C:\\Tools\\app.exe.old", "app.exe.old"},
        {"C:\\a.b\\name", "C:\\a.b\\", "", "C:\\a.b\\name", "name"},
        {"C:\\Tools\\\\", "C:\\Tools\\\\", "", "C:\\Tools\\", ""},
        {"C:\\", "C:\\", "", "C:\\", ""},
        {"\\", "\\", "", "\\", ""},
        // 表 (0x95 0x5C) and 機能 (0x8B 0x40 0x94 0x5C) end in a backslash byte.
        {"C:\\\x95\x5C.EXE", "C:\\", ".EXE", "C:\\\x95\x5C.EXE", "\x95\x5C.exe"},
        {"C:\\\x8B\x40\x94\x5C", "C:\\", "", "C:\\\x8B\x40\x94\x5C", "\x8B\x40\x94\x5C"},
        // A trail byte in the range of 'A'-'Z' ("ア" is 0x83 0x41) is not folded.
        {"D:\\Dir\\\x83\x41PP.EXE", "D:\\Dir\\", ".EXE", "D:\\Dir\\\x83\x41PP.EXE", "\x83\x41pp.exe"},
        // A lead byte cut off at the end of the text is kept as it stands; the name is long
        // enough to live on the heap, where the sanitizer sees any read past its end.
        {"X\\LongProgramName\x83", "X\\", "", "X\\LongProgramName\x83", "longprogramname\x83"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.folder, FolderPart(c.path)) << c.path;
        EXPECT_EQ(c.extension, ExtensionPart(c.path)) << c.path;
        std::string stripped(c.path);
        StripTrailingSeparator(stripped);
        EXPECT_EQ(c.stripped, stripped) << c.path;
        EXPECT_EQ(c.module, ModuleNameOf(c.path)) << c.path;
    }
}

// The list a user may configure in PATHENT, or the built-in one, and what counts as a program.
TEST(ExtensionList, ChosenAndMatchedEntryByEntry)
{
    // An entry cut to the 127 bytes kept would match its own first 127 bytes.
    const std::string overlong = "." + std::string(200, 'l') + ";.bat", cut = "." + std::string(126, 'l');
    const struct {
        const char* configured;  // null: not set
        std::vector<const char*> extensions;
        unsigned expected;  // bit i: extension i counts as a program
    } cases[] = {
        {nullptr, {".exe", ".cmd", ".bat", ".com", ".EXE", "exe", ""}, 0x7},
        {".COM;.EXE", {".com", ".exe", ".bat", ".COM"}, 0x3},
        {"ab", {".exe", ".cmd", ".bat", ".ab"}, 0x7},
        {"a.tar.gz;;run.py;.exe", {".gz", ".py", ".exe", ".tar", "run.py", ""}, 0x7},
        {"exe;com", {".exe", ".com"}, 0x0},
        {overlong.c_str(), {".bat", cut.c_str()}, 0x1},
    };
    for (const auto& c : cases) {
        StringClass list;
        ChooseExtensionList(list, c.configured);
        unsigned matched = 0;
        for (size_t i = 0; i < c.extensions.size(); ++i) {
            if (ExtensionInList(list.Text(), c.extensions[i])) matched |= 1u << i;
        }
        EXPECT_EQ(c.expected, matched) << (c.configured != nullptr ? c.configured : "(not set)");
    }
}
