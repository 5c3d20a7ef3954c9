// Text values, keyed lists and the ring: the buffer and linking rules everything else relies on.
// Deleting whole rings is left to the settings tests, whose sanitizer build reports leaks.
#include <gtest/gtest.h>

#include <string>

#include "KeyValueList.h"
#include "RingList.h"
#include "StringClass.h"

TEST(StringClassBuffer, ReusesItsBufferAndSurvivesItsOwnText)
{
    // Growth across a step keeps the old text, also when the appended text is the old buffer.
    const std::string grown = std::string(30, 'a') + "-bc";
    StringClass text(std::string(30, 'a').c_str());
    text.Append("bc", '-');
    text.Append(text.Text(), ' ');
    EXPECT_EQ(grown + " " + grown, text.Text());
    const char* buffer = text.Text();
    text.Assign(text.Text() + 33);  // overlaps its own text
    EXPECT_EQ(" " + grown, text.Text());
    EXPECT_EQ(buffer, text.Text()) << "a large enough buffer is reused";
    text.Assign(nullptr);
    EXPECT_EQ(StringClass::EmptyText(), text.Text());
}

TEST(KeyValueList, FirstOfAnExactNameWins)
{
    KeyValueListClass list;
    list.Add(new KeyValueClass("-p", "first"));
    list.Add(new KeyValueClass("-p", "second"));
    EXPECT_STREQ("first", list.GetValue("-p").Text());
    for (const char* name : {"-P", "-", "-pp"}) EXPECT_EQ(nullptr, list.Find(name)) << name;
}

namespace {

struct Node : RingListClass {
    explicit Node(char n) : name(n) {}
    char name;
};

// The ring from `head` both ways round.
std::string Walk(RingListClass* head)
{
    std::string order;
    for (auto* n = head; n != nullptr; n = RingWalkNext(n, head)) order += static_cast<Node*>(n)->name;
    order += '/';
    for (auto* n = head->Prev(); n != nullptr && n != head; n = n->Prev()) order += static_cast<Node*>(n)->name;
    return order;
}

}  // namespace

TEST(RingList, InsertAndUnlink)
{
    Node a('a'), b('b'), c('c'), d('d');
    EXPECT_EQ(nullptr, a.Unlink());
    a.InsertBefore(&b);
    EXPECT_EQ("ab/b", Walk(&a));
    b.InsertAfter(&c);
    a.InsertBefore(&d);
    EXPECT_EQ("abcd/dcb", Walk(&a));
    EXPECT_EQ(&b, c.Unlink());
    EXPECT_EQ(&b, d.Unlink());
    EXPECT_EQ(&a, b.Unlink());
    EXPECT_TRUE(a.Next() == nullptr && a.Prev() == nullptr && b.Next() == nullptr) << "a ring of two falls apart";
    DeleteRing(nullptr);
}
