// Any bytes as a settings file: loading must not crash, leak or misbehave, and whatever
// loaded must mean the same to the launcher after a save and a second load.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "FakePlatform.h"
#include "SettingsFile.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// The reader takes at most 383 bytes of a line in one read (a line end right after them
// belongs to the same read); the writer never writes a line the reader would take in pieces.
bool HasLineTheReaderSplits(const std::string& text)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end - start > 383) return true;
        start = end + 1;
    }
    return false;
}

const std::string& Base()
{
    static const std::string base = "/tmp/lodestay-fuzz-" + std::to_string(getpid());
    return base;
}

// What a record means to the launcher; saving and loading again must keep it.
std::string Meaning(Executant* head)
{
    std::string out;
    for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
        char numbers[256];
        // Coordinates count only when set: a partial conversion may leave anything in them.
        const bool position = e->PositionSet();
        const bool size = e->SizeSet();
        std::snprintf(numbers, sizeof numbers, "|%d,%d,%d|%d,%d,%d|%u|%d|%d|%d|%d|%d|", position,
                      position ? e->PositionX : 0, position ? e->PositionY : 0, size, size ? e->Width : 0,
                      size ? e->Height : 0, e->Priority, e->InputTimeout, e->ShellExec, e->ShowCommand(),
                      e->SettingNumber(kKeyDisableIME), e->SettingNumber(kKeyInitialOnce));
        out += e->FileName.Text();
        out += '|';
        out += e->Arguments.Text();
        out += '|';
        out += e->SettingText(kKeyPath).Text();
        out += numbers;
        out += '\n';
    }
    return out;
}

// Loads `path`, saves it to `savedPath`, and returns what the loaded records meant.
std::string LoadAndSave(const std::string& path, const std::string& savedPath)
{
    Executant* head = LoadSettingsFile(path.c_str());
    const std::string meaning = Meaning(head);
    SaveSettingsFile(savedPath.c_str(), head);
    DeleteRing(head);
    return meaning;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetFake();
    const std::string input = Base() + ".ini";
    const std::string first = Base() + "-1.ini";
    const std::string second = Base() + "-2.ini";
    {
        std::ofstream out(input, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string meaning = LoadAndSave(input, first);
    // Whatever the input, the writer keeps every line within one read of the reader, and
    // what was saved reads back as the same records.
    if (HasLineTheReaderSplits(Slurp(first))) std::abort();
    if (LoadAndSave(first, second) != meaning) std::abort();
    std::remove(input.c_str());
    std::remove(first.c_str());
    std::remove(second.c_str());
    return 0;
}
