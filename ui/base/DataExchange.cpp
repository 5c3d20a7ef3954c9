// Field-to-control bindings with validation.
#include "DataExchange.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "SystemUtilities.h"

namespace {

constexpr char kTooLong[] = "%d バイト以内で入力してください.";
constexpr char kNotInteger[] = "整数を入力してください.";
constexpr char kOutOfRange[] = "%u から %u までの整数を入力してください.";

// strtoll accepts leading blanks and a sign; the rest of the text must be blanks only.
bool ParseWhole(const char* text, long long* value, bool allowMinus)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '-' && !allowMinus) return false;
    if (*p == '\0') return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    *value = parsed;
    return true;
}

}  // namespace

bool ParseSigned32(const char* text, int* value)
{
    long long parsed = 0;
    if (!ParseWhole(text, &parsed, true) || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    *value = static_cast<int>(parsed);
    return true;
}

bool ParseUnsigned32(const char* text, unsigned* value)
{
    long long parsed = 0;
    if (!ParseWhole(text, &parsed, false) || parsed < 0 || parsed > UINT32_MAX) return false;
    *value = static_cast<unsigned>(parsed);
    return true;
}

std::string DataExchange::ReadText(int id) const
{
    HWND control = ::GetDlgItem(dialog_, id);
    const int length = ::GetWindowTextLengthA(control);
    std::string text(length > 0 ? length + 1 : 1, '\0');
    const int got = ::GetWindowTextA(control, &text[0], static_cast<int>(text.size()));
    text.resize(got > 0 ? got : 0);
    return text;
}

void DataExchange::Fail(int id, const char* message)
{
    failed_ = true;
    AppMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    HWND control = ::GetDlgItem(dialog_, id);
    ::SetFocus(control);
    char className[16] = "";
    ::GetClassNameA(control, className, sizeof(className));
    if (lstrcmpiA(className, "Edit") == 0) ::SendMessageA(control, EM_SETSEL, 0, -1);
}

void DataExchange::Text(int id, std::string& value, int maxBytes)
{
    if (Skip()) return;
    if (!save_) {
        if (maxBytes > 0) ::SendDlgItemMessageA(dialog_, id, EM_LIMITTEXT, maxBytes, 0);
        ::SetDlgItemTextA(dialog_, id, value.c_str());
        return;
    }
    std::string text = ReadText(id);
    if (maxBytes > 0 && static_cast<int>(text.size()) > maxBytes) {
        char message[128];
        std::snprintf(message, sizeof(message), kTooLong, maxBytes);
        Fail(id, message);
        return;
    }
    value.swap(text);
}

void DataExchange::Int(int id, int& value)
{
    if (Skip()) return;
    if (!save_) {
        char text[16];
        std::snprintf(text, sizeof(text), "%d", value);
        ::SetDlgItemTextA(dialog_, id, text);
        return;
    }
    if (!ParseSigned32(ReadText(id).c_str(), &value)) Fail(id, kNotInteger);
}

void DataExchange::UInt(int id, unsigned& value, unsigned minimum, unsigned maximum)
{
    if (Skip()) return;
    if (!save_) {
        char text[16];
        std::snprintf(text, sizeof(text), "%u", value);
        ::SetDlgItemTextA(dialog_, id, text);
        return;
    }
    unsigned parsed = 0;
    if (!ParseUnsigned32(ReadText(id).c_str(), &parsed)) {
        Fail(id, kNotInteger);
    } else if (parsed < minimum || parsed > maximum) {
        char message[128];
        std::snprintf(message, sizeof(message), kOutOfRange, minimum, maximum);
        Fail(id, message);
    } else {
        value = parsed;
    }
}

void DataExchange::Check(int id, bool& value)
{
    if (Skip()) return;
    if (save_) {
        value = ::IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
    } else {
        ::CheckDlgButton(dialog_, id, value ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DataExchange::Radio(int firstId, int& index)
{
    if (Skip()) return;
    HWND button = ::GetDlgItem(dialog_, firstId);
    int found = -1;
    // The group runs from its first button to the next control that starts a group.
    for (int i = 0; button != nullptr; ++i) {
        if (save_) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) found = i;
        } else {
            ::SendMessageA(button, BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        button = ::GetWindow(button, GW_HWNDNEXT);
        if (button == nullptr || (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP) != 0) break;
    }
    if (save_) index = found;
}

void DataExchange::ComboIndex(int id, int& index)
{
    if (Skip()) return;
    if (save_) {
        index = static_cast<int>(::SendDlgItemMessageA(dialog_, id, CB_GETCURSEL, 0, 0));
    } else {
        ::SendDlgItemMessageA(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}
