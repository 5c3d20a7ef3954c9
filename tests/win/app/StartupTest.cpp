// Start-up of the real program: which settings file it chooses under which options, desktop
// and Windows version, and the messages it ends with. A settings file whose block never
// closes makes the reader name the chosen path in a message box, which the test reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AppMessages.h"
#include "CoreMessages.h"
#include "LaunchMessages.h"
#include "WinTestSupport.h"

namespace {

constexpr DWORD kBoundMs = 15000;
const char kLongDesktop[] = "LodestayKioskLongName";

std::string BadFormat(const std::string& path)
{
    char text[1024];
    std::snprintf(text, sizeof(text), CoreText::kBadFormat, path.c_str());
    return text;
}

std::string NoApplications(const std::string& path)
{
    char text[1024];
    std::snprintf(text, sizeof(text), LaunchText::kNoApplications, path.c_str());
    return text;
}

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
    const char* version;    // null: what Wine reports by default
    std::string caption;
    std::vector<std::string> texts;   // the message boxes in order; none at all when empty
};

class Startup : public testing::Test {
protected:
    void SetUp() override
    {
        program_ = WindowsPath(LODESTAY_EXE);
        ownDesktop_ = DesktopName(::GetThreadDesktop(::GetCurrentThreadId()));
        blankFolder_ = temp_.File("dir with blank");
        ASSERT_TRUE(::CreateDirectoryA(blankFolder_.c_str(), nullptr));
        // Every name the program might choose holds a broken file, so the message tells
        // which one it read.
        const std::string broken = "Executant::RingListClass\t{\n\tExecutionFileName\tx.exe\n";
        for (const std::string& name : {std::string("Default"), std::string("Kiosk"), std::string(kLongDesktop),
                                        ownDesktop_, std::string("x"), std::string("other")})
            ASSERT_TRUE(WriteTextFile(temp_.File(name + ".ini"), broken));
        ASSERT_TRUE(WriteTextFile(blankFolder_ + "\\x.ini", broken));
        ASSERT_TRUE(WriteTextFile(temp_.File("valid.ini"), ";Lodestay\nFileVersion\t0x0110\n"));
    }

    // A copy under its own name, so that the version Wine reports to it touches no other run.
    std::string ProgramFor(const char* version)
    {
        if (version == nullptr) return program_;
        const std::string name = std::string("lodestay-") + version + ".exe";
        const std::string copy = temp_.File(name);
        if (::GetFileAttributesA(copy.c_str()) == INVALID_FILE_ATTRIBUTES)
            ::CopyFileA(program_.c_str(), copy.c_str(), FALSE);
        return copy;
    }

    void Check(const StartCase& c)
    {
        SCOPED_TRACE(c.what);
        const std::string program = ProgramFor(c.version);
        const std::string commandLine = "\"" + program + "\" " + c.arguments;
        ProgramRun outcome;
        if (c.version != nullptr) {
            ReportedVersion reported(program.substr(program.rfind('\\') + 1), c.version);
            outcome = RunAnsweringBoxes(commandLine, kBoundMs, temp_.Path().c_str(), c.desktop);
        } else {
            outcome = RunAnsweringBoxes(commandLine, kBoundMs, temp_.Path().c_str(), c.desktop);
        }
        EXPECT_TRUE(outcome.ended) << "the program ends after its messages";
        std::vector<std::string> texts;
        for (const MessageBoxSeen& box : outcome.boxes) {
            texts.push_back(box.text);
            EXPECT_EQ(c.caption, box.caption);
        }
        EXPECT_EQ(c.texts, texts);
    }

    TempFolder temp_;
    std::string program_;
    std::string ownDesktop_;
    std::string blankFolder_;
};

TEST_F(Startup, DefaultSettingsFileFollowsTheDesktop)
{
    const std::string own = ownDesktop_ + ".ini";
    const std::vector<StartCase> cases = {
        {"no options", "", nullptr, nullptr, "lodestay", {BadFormat(own)}},
        {"desktop Kiosk", "", "Kiosk", nullptr, "lodestay", {BadFormat("Kiosk.ini")}},
        {"desktop name longer than the first buffer", "", kLongDesktop, nullptr, "lodestay",
         {BadFormat(std::string(kLongDesktop) + ".ini")}},
        {"argument of -e is ignored", "-e x.ini", nullptr, nullptr, "lodestay", {BadFormat(own), NoApplications(own)}},
        {"bare word swallows the options", "x.ini -p other.ini", nullptr, nullptr, "lodestay", {BadFormat(own)}},
        {"unclosed quote drops -p", "-p \"other.ini", nullptr, nullptr, "lodestay", {BadFormat(own)}},
    };
    for (const StartCase& c : cases) Check(c);
}

TEST_F(Startup, PathOption)
{
    const std::string blankPath = blankFolder_ + "\\x.ini";
    const std::vector<StartCase> cases = {
        {"quoted path with blanks", "-p \"" + blankPath + "\"", nullptr, nullptr, "lodestay", {BadFormat(blankPath)}},
        {"first -p counts, whatever the desktop", "-p x.ini -p other.ini", "Kiosk", nullptr, "lodestay",
         {BadFormat("x.ini")}},
        {"-p without argument", "-p", nullptr, nullptr, "lodestay", {AppText::kBadSettingsPath}},
        {"-p followed by -e", "-p -e", nullptr, nullptr, "lodestay", {AppText::kBadSettingsPath}},
        {"missing file is no error", "-p missing.ini", nullptr, nullptr, "lodestay", {}},
        {"file without records", "-p valid.ini", nullptr, nullptr, "lodestay", {}},
        {"unattended start of the chosen file", "-p valid.ini -e", nullptr, nullptr, "lodestay",
         {NoApplications("valid.ini")}},
    };
    for (const StartCase& c : cases) Check(c);
}

TEST_F(Startup, WindowsVersions)
{
    const std::vector<StartCase> cases = {
        {"95 family has one desktop name", "", "Kiosk", "win98", "lodestay-win98", {BadFormat("Default.ini")}},
        {"Windows 2000 uses the desktop", "", "Kiosk", "win2k", "lodestay-win2k", {BadFormat("Kiosk.ini")}},
        {"other platform ends", "", nullptr, "win31", "lodestay-win31", {AppText::kUnsupportedOs}},
        {"-p skips the system checks", "-p x.ini", nullptr, "win31", "lodestay-win31", {BadFormat("x.ini")}},
    };
    for (const StartCase& c : cases) Check(c);
}

}  // namespace
