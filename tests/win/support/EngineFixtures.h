// What the tests set up around the launch engine: the captured log, recorded pauses,
// executants made from a few settings, and a registered test file type.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Executant.h"
#include "TempFolder.h"

// Points the log writer at a file of its own while alive; Text() is everything logged.
class CapturedLog {
public:
    CapturedLog();
    ~CapturedLog();
    std::string Text() const;
    void Clear();

private:
    TempFolder folder_;
    std::string path_;
};

// Replaces the engine's pause while alive: records every pause, and waits for real only
// when asked to.
class PauseRecorder {
public:
    explicit PauseRecorder(bool realPause = false);
    ~PauseRecorder();
    const std::vector<unsigned>& Pauses() const;
};

// The keyword/value pairs of one entry.
using EntrySettings = std::vector<std::pair<const char*, std::string>>;
// An executant from keyword/value pairs, validated and prepared as the settings reader does.
std::unique_ptr<Executant> MakeExecutant(const EntrySettings& settings);
// A settings file with these entries, as the launcher reads it.
bool WriteSettingsFile(const std::string& path, const std::vector<EntrySettings>& entries);

// Registers a test file type, opened by the test application, while alive. The program
// reads its options from the first line of the document ("--open FILE").
class TestFileType {
public:
    TestFileType();
    ~TestFileType();
    TestFileType(const TestFileType&) = delete;
    TestFileType& operator=(const TestFileType&) = delete;
};
extern const char kTestExtension[];
