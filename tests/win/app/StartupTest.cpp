// Start-up of the real program: which settings file it chooses under which options, desktop
// and Windows version, and the messages it shows before its main window or its end. A
// settings file whose second block never closes makes the reader name the chosen path in a
// message box, which the test reads; the first entry it keeps is saved over that file only
// when the user agrees.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AppMessages.h"
#include "CoreMessages.h"
#include "LaunchMessages.h"
#include "MainWindowIds.h"
#include "MainWindowText.h"
#include "WinTestSupport.h"

namespace {

// A safety net for a start that hangs, not a timing: a loaded machine can take its time.
constexpr DWORD kBoundMs = 60000;
const char kLongDesktop[] = "LodestayKioskLongName";

std::string Text(const char* format, const std::string& path)
{
    char text[1024];
    std::snprintf(text, sizeof(text), format, path.c_str());
    return text;
}
std::string BadFormat(const std::string& path) { return Text(CoreText::kBadFormat, path); }
std::string AskReplace(const std::string& path) { return Text(MainText::kAskReplaceIncomplete, path); }
const char kPartlyRead[] = "Executant::RingListClass\t{\n\tExecutionFileName\tx.exe\n}\nExecutant::RingListClass\t{\n";

std::string DesktopName(HDESK desktop)
{
    char name[256] = "";
    DWORD needed = 0;
    ::GetUserObjectInformationA(desktop, UOI_NAME, name, sizeof(name), &needed);
    return name;
}

struct StartCase {
    const char* what;
    std::string arguments;
    const char* desktop;    // null: the test's own desktop
    const char* version;    // null: what Wine reports by default; the caption is the program's name
    std::vector<std::string> texts;   // the message boxes in order; none at all when empty
    std::vector<int> saveAnswers = {};  // when given: save from the main window, the boxes answered so
};

class Startup : public testing::Test {
protected:
    void SetUp() override
    {
        program_ = WindowsPath(LODESTAY_EXE);
        ownDesktop_ = DesktopName(::GetThreadDesktop(::GetCurrentThreadId()));
        blankFolder_ = temp_.File("dir with blank");
        ASSERT_TRUE(::CreateDirectoryA(blankFolder_.c_str(), nullptr));
        // Every name the program might choose holds a partly read file, so the message tells
        // which one it read.
        for (const std::string& name : {std::string("Default"), std::string("Kiosk"), std::string(kLongDesktop),
                                        ownDesktop_, std::string("x"), std::string("other")})
            ASSERT_TRUE(WriteTextFile(temp_.File(name + ".ini"), kPartlyRead));
        ASSERT_TRUE(WriteTextFile(blankFolder_ + "\\x.ini", kPartlyRead));
        ASSERT_TRUE(WriteTextFile(temp_.File("valid.ini"), ";Lodestay\nFileVersion\t0x0110\n"));
    }

    void Check(const StartCase& c)
    {
        SCOPED_TRACE(c.what);
        // A copy under its own name, so that the version Wine reports to it touches no other run.
        const std::string name = c.version != nullptr ? std::string("lodestay-") + c.version : "lodestay";
        std::string program = program_;
        std::unique_ptr<ReportedVersion> reported;
        if (c.version != nullptr) {
            program = temp_.File(name + ".exe");
            ::CopyFileA(program_.c_str(), program.c_str(), TRUE);
            reported.reset(new ReportedVersion(name + ".exe", c.version));
        }
        const ProgramRun outcome =
            RunAnsweringBoxes("\"" + program + "\" " + c.arguments, kBoundMs, temp_.Path().c_str(), c.desktop,
                              c.saveAnswers.empty() ? 0 : ID_FILE_SAVE, c.saveAnswers);
        EXPECT_TRUE(outcome.ended) << "the program ends after its messages";
        std::vector<std::string> texts;
        for (const MessageBoxSeen& box : outcome.boxes) {
            texts.push_back(box.text);
            EXPECT_EQ(name, box.caption);
        }
        EXPECT_EQ(c.texts, texts);
        // Without -e the main window follows the messages, unless the start failed.
        const bool failed = !texts.empty() && (texts.back() == AppText::kUnsupportedOs || texts.back() == AppText::kBadSettingsPath);
        EXPECT_EQ(c.arguments.find("-e") == std::string::npos && !failed, outcome.window);
        // Only a Yes to the question replaces the file; the one row that answers Yes comes last.
        EXPECT_EQ(c.saveAnswers.size() < 2 || c.saveAnswers[1] == IDNO,
                  ReadTextFile(temp_.File(ownDesktop_ + ".ini")) == kPartlyRead);
    }

    TempFolder temp_;
    std::string program_;
    std::string ownDesktop_;
    std::string blankFolder_;
};

// The default name follows the desktop (one name on the 95 family); -p chooses instead and
// skips the system checks.
TEST_F(Startup, ChoosesTheSettingsFileByOptionsDesktopAndVersion)
{
    const std::string own = ownDesktop_ + ".ini", blankPath = blankFolder_ + "\\x.ini";
    const std::vector<StartCase> cases = {
        {"desktop Kiosk", "", "Kiosk", nullptr, {BadFormat("Kiosk.ini")}},
        {"desktop name longer than the first buffer", "", kLongDesktop, nullptr,
         {BadFormat(std::string(kLongDesktop) + ".ini")}},
        {"argument of -e is ignored", "-e x.ini", nullptr, nullptr,
         {BadFormat(own), "起動エラー\r\n起動に失敗したｱﾌﾟﾘｹｰｼｮﾝが 1 件ありました.\r\n"}},
        {"bare word swallows the options", "x.ini -p other.ini", nullptr, nullptr, {BadFormat(own)}},
        {"quoted path with blanks", "-p \"" + blankPath + "\"", nullptr, nullptr, {BadFormat(blankPath)}},
        {"first -p counts, whatever the desktop", "-p x.ini -p other.ini", "Kiosk", nullptr,
         {BadFormat("x.ini")}},
        {"-p without argument", "-p", nullptr, nullptr, {AppText::kBadSettingsPath}},
        {"missing file is no error", "-p missing.ini", nullptr, nullptr, {}},
        {"file without records", "-p valid.ini", nullptr, nullptr, {}},
        {"unattended start of the chosen file", "-p valid.ini -e", nullptr, nullptr,
         {Text(LaunchText::kNoApplications, "valid.ini")}},
        {"95 family has one desktop name", "", "Kiosk", "win98", {BadFormat("Default.ini")}},
        {"other platform ends", "", nullptr, "win31", {AppText::kUnsupportedOs}},
        {"-p skips the system checks", "-p x.ini", nullptr, "win31", {BadFormat("x.ini")}},
        // Whatever name the file was opened by, its unread part is lost only when the user agrees.
        {"no options; save asks, No", "", nullptr, nullptr, {BadFormat(own), AskReplace(temp_.File(own))},
         {IDOK, IDNO}},
        {"relative -p; save asks, Yes", "-p " + own, nullptr, nullptr,
         {BadFormat(own), AskReplace(temp_.File(own)), MainText::kSaved}, {IDOK, IDYES, IDOK}},
    };
    for (const StartCase& c : cases) Check(c);
}

}  // namespace
