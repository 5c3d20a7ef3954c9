// Text values, keyed lists and the ring: the buffer and linking rules everything else relies on.
#include <gtest/gtest.h>

#include <string>

#include "KeyValueList.h"
#include "RingList.h"
#include "StringClass.h"

TEST(StringClassBuffer, GrowsInStepsOf32ReusesAndSurvivesItsOwnText)
{
    StringClass value;
    EXPECT_EQ(StringClass::EmptyText(), value.Text());
    value.Assign(std::string(31, 'a').c_str());
    EXPECT_EQ(32, value.Capacity());
    value.Assign(std::string(32, 'b').c_str());
    EXPECT_EQ(64, value.Capacity());
    const char* buffer = value.Text();
    value.Assign("short");
    EXPECT_EQ(buffer, value.Text()) << "a large enough buffer is reused";
    value.Assign(nullptr);
    EXPECT_EQ(0, value.Capacity());
    EXPECT_EQ(StringClass::EmptyText(), value.Text());

    // Growth across a step keeps the old text, also when the appended text is the old buffer.
    StringClass grown(std::string(30, 'a').c_str());
    grown.AppendChar('b', '-');
    grown.Append("c", 0);
    EXPECT_EQ(std::string(30, 'a') + "-bc", grown.Text());
    grown.Append(grown.Text(), ' ');
    EXPECT_EQ(std::string(30, 'a') + "-bc " + std::string(30, 'a') + "-bc", grown.Text());
    EXPECT_EQ(67, grown.Length());
    grown.Assign(grown.Text() + 34);
    EXPECT_EQ(std::string(30, 'a') + "-bc", grown.Text());
}

TEST(StringClassText, ToLowerLeavesShiftJisPairsAloneAndEqualityIsExact)
{
    // 0x83 0x41 is one character whose second byte happens to be 'A'.
    StringClass path("C:\\WINNT\\\x83\x41Z\x83");
    path.ToLower();
    EXPECT_STREQ("c:\\winnt\\\x83\x41z\x83", path.Text());
    StringClass value("abc");
    EXPECT_EQ(1, value.Equals("abc"));
    EXPECT_EQ(0, value.Equals("ABC"));
    EXPECT_EQ(0, value.Equals("abcd"));
    EXPECT_EQ(0, value.Equals(nullptr));
}

TEST(KeyValueList, FirstOfAnExactNameWins)
{
    KeyValueListClass list;
    list.Add(new KeyValueClass("", "empty-name"));
    list.Add(new KeyValueClass("-p", "first"));
    list.Add(new KeyValueClass("-p", "second"));
    EXPECT_STREQ("first", list.GetValue("-p").Text());
    EXPECT_EQ(nullptr, list.Find(""));
    EXPECT_EQ(nullptr, list.Find("-P"));
    EXPECT_EQ(&StringClass::SharedEmpty(), &list.GetValue("-e"));
    EXPECT_STREQ("first", list.GetValueString(StringClass("-p")).Text());
    EXPECT_EQ(&StringClass::SharedEmpty(), &list.GetValueString(StringClass()));
    list.Clear();
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(nullptr, list.Head());
}

namespace {

struct Node : RingListClass {
    explicit Node(int v) : value(v) {}
    int value;
};

// The ring from `head` both ways round.
std::string Walk(RingListClass* head)
{
    std::string order;
    for (RingListClass* n = head; n != nullptr; n = RingWalkNext(n, head)) order += std::to_string(static_cast<Node*>(n)->value);
    order += '/';
    for (RingListClass* n = head->Prev(); n != nullptr && n != head; n = n->Prev()) order += std::to_string(static_cast<Node*>(n)->value);
    return order;
}

}  // namespace

TEST(RingList, InsertUnlinkAndDelete)
{
    Node a(1), b(2), c(3), d(4);
    EXPECT_EQ(nullptr, a.Unlink());
    EXPECT_EQ("1/", Walk(&a)) << "a lone node is not linked to itself";
    a.InsertBefore(&b);
    EXPECT_EQ("12/2", Walk(&a));
    b.InsertAfter(&c);
    a.InsertBefore(&d);
    EXPECT_EQ("1234/432", Walk(&a));
    EXPECT_EQ(&b, c.Unlink());
    EXPECT_EQ("124/42", Walk(&a));
    EXPECT_EQ(&b, d.Unlink());
    EXPECT_EQ(&a, b.Unlink());
    EXPECT_EQ("1/", Walk(&a)) << "a ring of two falls apart into lone nodes";
    EXPECT_EQ(nullptr, b.Next());

    auto* head = new Node(1);
    head->InsertAfter(new Node(2))->InsertAfter(new Node(3));
    DeleteRing(head);  // the sanitizer build reports a leak or a double free
    DeleteRing(nullptr);
    DeleteRing(new Node(4));
}
