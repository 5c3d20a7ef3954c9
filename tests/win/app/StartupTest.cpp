// Start-up of the real program: which settings file it chooses under which options, desktop
// and Windows version, and the messages it shows before its main window or its end. A
// settings file whose second block never closes makes the reader name the chosen path in a
// message box, which the test reads; the first entry it keeps is saved over that file only
// when the user agrees. The program runs with DLLs dropped beside it, none of which may run
// inside it, whether it starts unattended or opens its main window and the load's file dialog.
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
std::string NoApplications(const std::string& path) { return Text(LaunchText::kNoApplications, path); }
std::string LoadFailed(const std::string& path) { return Text(MainText::kLoadFailed, path); }
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
    // When given: `command` for the main window (a dialog it opens is answered OK), the boxes
    // answered so.
    std::vector<int> answers = {};
    int command = ID_FILE_SAVE;
};

class Startup : public testing::Test {
protected:
    void SetUp() override
    {
        plant_ = PlantDlls(temp_);
        ASSERT_NE(nullptr, plant_);
        program_ = temp_.File("lodestay.exe");
        ownDesktop_ = DesktopName(::GetThreadDesktop(::GetCurrentThreadId()));
        blankFolder_ = temp_.File("dir with blank");
        ASSERT_TRUE(::CreateDirectoryA(blankFolder_.c_str(), nullptr));
        // Every name the program might choose holds a partly read file, so the message tells
        // which one it read.
        for (const std::string& name : {std::string("Default"), std::string("Kiosk"), std::string(kLongDesktop),
                                        ownDesktop_, std::string("x"), std::string("other"), std::string("held")})
            ASSERT_TRUE(WriteTextFile(temp_.File(name + ".ini"), kPartlyRead));
        ASSERT_TRUE(WriteTextFile(blankFolder_ + "\\x.ini", kPartlyRead));
        ASSERT_TRUE(WriteTextFile(temp_.File("valid.ini"), ";Lodestay\nFileVersion\t0x0110\n"));
    }

    void Check(const StartCase& c)
    {
        SCOPED_TRACE(c.what);
        // A copy under its own name, so that the version Wine reports to it touches no other run;
        // away from the DLLs, whose load order is set for lodestay.exe alone.
        const std::string name = c.version != nullptr ? std::string("lodestay-") + c.version : "lodestay";
        std::string program = program_;
        std::unique_ptr<AppDefaults> reported;
        if (c.version != nullptr) {
            program = blankFolder_ + "\\" + name + ".exe";
            ::CopyFileA(program_.c_str(), program.c_str(), TRUE);
            reported.reset(new AppDefaults(name + ".exe", "", {{"Version", c.version}}));
        }
        const ProgramRun outcome =
            RunAnsweringBoxes("\"" + program + "\" " + c.arguments, kBoundMs, temp_.Path().c_str(), c.desktop,
                              c.answers.empty() ? 0 : c.command, c.answers);
        EXPECT_TRUE(outcome.ended) << "the program ends after its messages";
        std::vector<std::string> texts;
        for (const MessageBoxSeen& box : outcome.boxes) {
            texts.push_back(box.text);
            EXPECT_EQ(name, box.caption);
        }
        EXPECT_EQ(c.texts, texts);
        EXPECT_EQ(std::vector<std::string>{}, Marks(temp_));
        // Without -e the main window follows the messages, unless the start failed.
        const bool failed = !texts.empty() && (texts.back() == AppText::kUnsupportedOs || texts.back() == AppText::kBadSettingsPath);
        EXPECT_EQ(c.arguments.find("-e") == std::string::npos && !failed, outcome.window);
        // Only a Yes to the save's question replaces the file; the one row that answers Yes comes last.
        EXPECT_EQ(c.command != ID_FILE_SAVE || c.answers.size() < 2 || c.answers[1] == IDNO,
                  ReadTextFile(temp_.File(ownDesktop_ + ".ini")) == kPartlyRead);
    }

    TempFolder temp_;
    std::unique_ptr<AppDefaults> plant_;
    std::string program_;
    std::string ownDesktop_;
    std::string blankFolder_;
};

// The default name follows the desktop (one name on the 95 family); -p chooses instead and
// skips the system checks. A file that is there but cannot be read is no empty list: one that
// another program holds open, or a device, also when the main window's load chooses it; a
// serial port or a pipe whose writer never writes is refused before a read that would wait
// for ever.
TEST_F(Startup, ChoosesTheSettingsFileByOptionsDesktopAndVersion)
{
    const std::string own = ownDesktop_ + ".ini", blankPath = blankFolder_ + "\\x.ini";
    HeldFile held(temp_.File("held.ini"));
    const std::string pipe = "\\\\.\\pipe\\lodestay-startup-" + std::to_string(::GetCurrentProcessId());
    HANDLE writer = ::CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, 0, 1, 0, 0, 0, nullptr);
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
        {"nor is a folder", "-p \"" + blankFolder_ + "\"", nullptr, nullptr, {}},
        {"file without records", "-p valid.ini", nullptr, nullptr, {}},
        {"unattended start of the chosen file", "-p valid.ini -e", nullptr, nullptr,
         {NoApplications("valid.ini")}},
        {"95 family has one desktop name", "", "Kiosk", "win98", {BadFormat("Default.ini")}},
        {"other platform ends", "", nullptr, "win31", {AppText::kUnsupportedOs}},
        {"-p skips the system checks", "-p x.ini", nullptr, "win31", {BadFormat("x.ini")}},
        {"held open", "-p held.ini", nullptr, nullptr, {LoadFailed("held.ini")}},
        // The load's dialog starts in the list's folder, wherever it was last.
        {"a device, and again through the window's load", "-p " + temp_.File("NUL"), nullptr, nullptr,
         {LoadFailed(temp_.File("NUL")), LoadFailed(temp_.File("NUL.ini"))}, {IDOK, IDOK}, ID_FILE_LOAD},
        {"serial port", "-e -p COM1", nullptr, nullptr, {NoApplications("COM1")}},
        {"pipe", "-p " + pipe + " -e", nullptr, nullptr, {NoApplications(pipe)}},
        // Whatever name the file was opened by, its unread part is lost only when the user agrees.
        {"no options; save asks, No", "", nullptr, nullptr, {BadFormat(own), AskReplace(temp_.File(own))},
         {IDOK, IDNO}},
        {"relative -p; save asks, Yes", "-p " + own, nullptr, nullptr,
         {BadFormat(own), AskReplace(temp_.File(own)), MainText::kSaved}, {IDOK, IDYES, IDOK}},
    };
    for (const StartCase& c : cases) Check(c);
    ::CloseHandle(writer);
}

}  // namespace
