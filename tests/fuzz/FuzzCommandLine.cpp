// Any bytes as the command-line text after the program name.
#include <cstdint>
#include <cstring>
#include <vector>

#include "CommandLine.h"
#include "KeyValueList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back(0);
    KeyValueListClass options;
    const int result = ParseCommandLine(options, text.data());
    if (result < -3 || result > 0) __builtin_trap();
    for (const KeyValueClass* e = options.Head(); e != nullptr; e = e->next) {
        // Every recorded name is an option word.
        if (e->name.Text()[0] != '-' && e->name.Text()[0] != '+') __builtin_trap();
    }
    return 0;
}
