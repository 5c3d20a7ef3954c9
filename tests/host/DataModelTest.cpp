// Text values, keyed lists and the ring: the buffer and linking rules everything else
// relies on.
#include <gtest/gtest.h>

#include <string>

#include "KeyValueList.h"
#include "RingList.h"
#include "StringClass.h"

TEST(StringClassBuffer, GrowsInStepsOf32AndNeverShrinks)
{
    StringClass value;
    EXPECT_EQ(0, value.Capacity());
    EXPECT_EQ(StringClass::EmptyText(), value.Text());

    value.Assign(std::string(31, 'a').c_str());
    EXPECT_EQ(32, value.Capacity());
    const char* buffer = value.Text();
    value.Assign(std::string(32, 'b').c_str());
    EXPECT_EQ(64, value.Capacity());
    EXPECT_EQ(32, value.Length());
    buffer = value.Text();
    value.Assign("short");
    EXPECT_EQ(64, value.Capacity());
    EXPECT_EQ(buffer, value.Text()) << "a large enough buffer is reused";
    EXPECT_STREQ("short", value.Text());

    value.Assign(nullptr);
    EXPECT_EQ(0, value.Capacity());
    EXPECT_EQ(0, value.Length());
    EXPECT_EQ(StringClass::EmptyText(), value.Text());
}

TEST(StringClassBuffer, AppendWithAndWithoutSeparator)
{
    StringClass name("Default");
    name.Append("ini", '.');
    EXPECT_STREQ("Default.ini", name.Text());
    EXPECT_EQ(11, name.Length());

    StringClass empty;
    empty.Append("x", 0);
    EXPECT_STREQ("x", empty.Text());

    // Growth across the 32-byte boundary keeps the old text.
    StringClass grown(std::string(30, 'a').c_str());
    grown.AppendChar('b', '-');
    grown.AppendChar('c', 0);
    EXPECT_EQ(std::string(30, 'a') + "-bc", grown.Text());
    EXPECT_EQ(64, grown.Capacity());
}

TEST(StringClassBuffer, AssigningOrAppendingItselfIsSafe)
{
    StringClass value("abcdefghijklmnopqrstuvwxyz0123");
    value.Append(value.Text(), ' ');
    EXPECT_STREQ("abcdefghijklmnopqrstuvwxyz0123 abcdefghijklmnopqrstuvwxyz0123", value.Text());
    value.AssignString(value);
    EXPECT_EQ(61, value.Length());
    value.Assign(value.Text() + 31);
    EXPECT_STREQ("abcdefghijklmnopqrstuvwxyz0123", value.Text());
}

TEST(StringClassText, ToLowerLeavesShiftJisPairsAlone)
{
    StringClass path("C:\\WINNT\\NOTEPAD.EXE");
    path.ToLower();
    EXPECT_STREQ("c:\\winnt\\notepad.exe", path.Text());

    // 0x83 0x41 is one character whose second byte happens to be 'A'.
    StringClass kana("\x83\x41Z\x83");
    kana.ToLower();
    EXPECT_STREQ("\x83\x41z\x83", kana.Text());

    StringClass empty;
    empty.ToLower();
    EXPECT_EQ(0, empty.Capacity());
}

TEST(StringClassText, EqualityIsExactBytes)
{
    StringClass value("abc");
    EXPECT_EQ(1, value.Equals("abc"));
    EXPECT_EQ(0, value.Equals("ABC"));
    EXPECT_EQ(0, value.Equals("abcd"));
    EXPECT_EQ(0, value.Equals(nullptr));
    StringClass same("abc");
    EXPECT_EQ(1, value.EqualsString(same));
}

TEST(KeyValueList, LookupRules)
{
    KeyValueListClass list;
    list.Add(new KeyValueClass("", "empty-name"));
    list.Add(new KeyValueClass("-p", "first"));
    list.Add(new KeyValueClass("-p", "second"));
    EXPECT_EQ(3, list.Count());

    EXPECT_STREQ("first", list.Find("-p")->GetValue());
    EXPECT_EQ(nullptr, list.Find(nullptr));
    EXPECT_EQ(nullptr, list.Find(""));
    EXPECT_EQ(nullptr, list.Find("-P"));
    EXPECT_EQ(&StringClass::SharedEmpty(), &list.GetValue(""));
    EXPECT_EQ(&StringClass::SharedEmpty(), &list.GetValue("-e"));
    EXPECT_STREQ("first", list.GetValue("-p").Text());

    StringClass key("-p");
    EXPECT_STREQ("first", list.GetValueString(key).Text());

    list.AddCopy(*list.Head());
    EXPECT_EQ(4, list.Count());
    list.Clear();
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(nullptr, list.Head());
}

namespace {

struct Node : RingListClass {
    explicit Node(int v) : value(v) {}
    int value;
};

std::string Walk(RingListClass* head)
{
    std::string order;
    for (RingListClass* n = head; n != nullptr; n = RingWalkNext(n, head)) {
        order += std::to_string(static_cast<Node*>(n)->value);
    }
    return order;
}

}  // namespace

TEST(RingList, LoneNodeIsNotLinkedToItself)
{
    Node a(1);
    EXPECT_EQ(nullptr, a.Next());
    EXPECT_EQ(nullptr, a.Unlink());
    EXPECT_EQ(nullptr, a.Next());
    EXPECT_EQ("1", Walk(&a));
}

TEST(RingList, InsertAfterBuildsFileOrder)
{
    Node a(1), b(2), c(3), d(4);
    RingListClass* last = &a;
    last = last->InsertAfter(&b);
    last = last->InsertAfter(&c);
    EXPECT_EQ("123", Walk(&a));
    EXPECT_EQ(&a, c.Next());
    EXPECT_EQ(&c, a.Prev());
    a.InsertBefore(&d);
    EXPECT_EQ("1234", Walk(&a));
    EXPECT_EQ("4123", Walk(&d));
}

TEST(RingList, InsertBeforeOnLoneNode)
{
    Node a(1), b(2);
    a.InsertBefore(&b);
    EXPECT_EQ(&b, a.Next());
    EXPECT_EQ(&b, a.Prev());
    EXPECT_EQ(&a, b.Next());
}

TEST(RingList, UnlinkFromRingOfTwoLeavesTheOtherAlone)
{
    Node a(1), b(2);
    a.InsertAfter(&b);
    EXPECT_EQ(&a, b.Unlink());
    EXPECT_EQ(nullptr, a.Next());
    EXPECT_EQ(nullptr, a.Prev());
    EXPECT_EQ(nullptr, b.Next());
    EXPECT_EQ("1", Walk(&a));
}

TEST(RingList, UnlinkFromLargerRingClosesTheGap)
{
    Node a(1), b(2), c(3);
    a.InsertAfter(&b)->InsertAfter(&c);
    EXPECT_EQ(&a, b.Unlink());
    EXPECT_EQ("13", Walk(&a));
    EXPECT_EQ(&a, c.Next());
    EXPECT_EQ(&c, a.Prev());
}

TEST(RingList, DeleteRingFreesEveryNode)
{
    auto* a = new Node(1);
    a->InsertAfter(new Node(2))->InsertAfter(new Node(3));
    DeleteRing(a);  // the sanitizer build reports a leak or a double free
    DeleteRing(nullptr);
    DeleteRing(new Node(4));
}
