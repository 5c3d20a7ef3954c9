// Named text values and the owning, insertion-ordered list that holds an executant's
// settings and the parsed command-line options.
#pragma once
#include "StringClass.h"

class KeyValueClass {
public:
    KeyValueClass();
    KeyValueClass(const char* name, const char* value);
    KeyValueClass(const KeyValueClass&) = delete;
    KeyValueClass& operator=(const KeyValueClass&) = delete;

    virtual ~KeyValueClass();
    virtual const char* GetValue() const;
    virtual void UnescapeValue();

    StringClass name;
    StringClass value;
    KeyValueClass* next;
};

class KeyValueListClass {
public:
    KeyValueListClass();
    KeyValueListClass(const KeyValueListClass&) = delete;
    KeyValueListClass& operator=(const KeyValueListClass&) = delete;

    virtual ~KeyValueListClass();
    virtual void Clear();
    virtual KeyValueClass* Find(const char* name) const;
    virtual KeyValueClass* FindString(const StringClass& name) const;
    virtual const StringClass& GetValue(const char* name) const;
    virtual const StringClass& GetValueString(const StringClass& name) const;
    virtual int Add(KeyValueClass* entry);
    virtual int AddCopy(const KeyValueClass& entry);

    KeyValueClass* Head() const { return head_; }
    int Count() const { return count_; }

private:
    KeyValueClass* head_;
    KeyValueClass* tail_;
    int count_;
};
