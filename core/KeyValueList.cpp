// Insertion-ordered list of named values; names may repeat and the first one wins.
#include "KeyValueList.h"

#include <new>

KeyValueClass::KeyValueClass() : next(nullptr) {}

KeyValueClass::KeyValueClass(const char* nameText, const char* valueText) : next(nullptr)
{
    name.Assign(nameText);
    value.Assign(valueText);
}

KeyValueClass::~KeyValueClass() = default;

const char* KeyValueClass::GetValue() const { return value.Text(); }

void KeyValueClass::UnescapeValue() { value.Unescape(); }

KeyValueListClass::KeyValueListClass() : head_(nullptr), tail_(nullptr), count_(0) {}

KeyValueListClass::~KeyValueListClass() { Clear(); }

void KeyValueListClass::Clear()
{
    KeyValueClass* entry = head_;
    while (entry != nullptr) {
        KeyValueClass* next = entry->next;
        delete entry;
        entry = next;
    }
    head_ = tail_ = nullptr;
    count_ = 0;
}

KeyValueClass* KeyValueListClass::Find(const char* name) const
{
    if (name == nullptr || name[0] == 0) return nullptr;
    for (KeyValueClass* entry = head_; entry != nullptr; entry = entry->next) {
        if (entry->name.Equals(name)) return entry;
    }
    return nullptr;
}

KeyValueClass* KeyValueListClass::FindString(const StringClass& name) const
{
    for (KeyValueClass* entry = head_; entry != nullptr; entry = entry->next) {
        if (entry->name.EqualsString(name)) return entry;
    }
    return nullptr;
}

const StringClass& KeyValueListClass::GetValue(const char* name) const
{
    const KeyValueClass* entry = Find(name);
    return entry != nullptr ? entry->value : StringClass::SharedEmpty();
}

const StringClass& KeyValueListClass::GetValueString(const StringClass& name) const
{
    if (name.IsEmpty()) return StringClass::SharedEmpty();
    const KeyValueClass* entry = FindString(name);
    return entry != nullptr ? entry->value : StringClass::SharedEmpty();
}

int KeyValueListClass::Add(KeyValueClass* entry)
{
    entry->next = nullptr;
    if (tail_ == nullptr) {
        head_ = entry;
    } else {
        tail_->next = entry;
    }
    tail_ = entry;
    ++count_;
    return 0;
}

int KeyValueListClass::AddCopy(const KeyValueClass& entry)
{
    KeyValueClass* copy = new (std::nothrow) KeyValueClass(entry.name.Text(), entry.value.Text());
    if (copy != nullptr) Add(copy);
    return 0;
}
