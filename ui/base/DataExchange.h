// Data exchange between a dialog's fields and its controls: one call per field, in the
// dialog's order. Saving validates, and the first invalid control stops the exchange: the
// user is told why, the focus goes to that control, and the later fields stay as they were.
#pragma once
#include <windows.h>

#include <string>

class DataExchange {
public:
    DataExchange(HWND dialog, bool save) : dialog_(dialog), save_(save), failed_(false) {}

    bool Saving() const { return save_; }
    bool Failed() const { return failed_; }

    // maxBytes > 0 limits typing to that many bytes and fails a longer text on save.
    void Text(int id, std::string& value, int maxBytes = 0);
    // Decimal 32-bit signed integer.
    void Int(int id, int& value);
    // Decimal unsigned integer within [minimum, maximum].
    void UInt(int id, unsigned& value, unsigned minimum, unsigned maximum);
    void Check(int id, bool& value);
    // Index of the checked button of the group that starts at firstId; -1 for none.
    void Radio(int firstId, int& index);
    // Index of the selected item of a drop-down list; -1 for none.
    void ComboIndex(int id, int& index);

private:
    bool Skip() const { return failed_; }
    void Fail(int id, const char* message);
    std::string ReadText(int id) const;

    HWND dialog_;
    bool save_;
    bool failed_;
};

// Parses a whole decimal integer (optional blanks and sign); false for anything else or
// a value outside the type. Exposed for the tests.
bool ParseSigned32(const char* text, int* value);
bool ParseUnsigned32(const char* text, unsigned* value);
