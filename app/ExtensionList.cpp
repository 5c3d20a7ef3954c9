// The executable-extension list and its match.
#include "ExtensionList.h"

#include <cstddef>
#include <cstring>

#include "StringClass.h"

namespace {

constexpr size_t kMaxExtensionEntry = 127;

}  // namespace

void ChooseExtensionList(StringClass& list, const char* configured)
{
    if (configured != nullptr) list.Assign(configured);
    if (list.Length() > 2) {
        list.ToLower();
    } else {
        list.Assign(".cmd;.exe;.bat");
    }
}

int ExtensionInList(const char* list, const char* extension)
{
    if (list == nullptr || extension == nullptr) return 0;
    // Longer entries than the list supports are skipped rather than cut, so a cut entry can
    // never match. The entry is collected in place, so that the test needs no memory of its own.
    char entry[kMaxExtensionEntry + 1];
    size_t length = 0;
    bool overlong = false;
    auto matches = [&]() {
        entry[length] = '\0';
        return !overlong && length > 0 && std::strcmp(entry, extension) == 0;
    };
    for (const char* p = list; *p != '\0'; ++p) {
        if (*p == '.') {
            entry[0] = '.';
            length = 1;
            overlong = false;
        } else if (*p == ';') {
            if (matches()) return 1;
            length = 0;
            overlong = false;
        } else if (length < kMaxExtensionEntry) {
            entry[length++] = *p;
        } else {
            overlong = true;
        }
    }
    return matches() ? 1 : 0;
}
