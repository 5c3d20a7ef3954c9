// Node base of the circular, doubly linked list the executants live in. A lone node has
// null links; it is never linked to itself.
#pragma once

class RingListClass {
public:
    RingListClass();
    RingListClass(const RingListClass&) = delete;
    RingListClass& operator=(const RingListClass&) = delete;

    virtual ~RingListClass();
    virtual RingListClass* InsertAfter(RingListClass* node);
    virtual RingListClass* InsertBefore(RingListClass* node);
    virtual RingListClass* Unlink();

    RingListClass* Next() const { return next_; }
    RingListClass* Prev() const { return prev_; }

private:
    RingListClass* next_;
    RingListClass* prev_;
};

// The one walking rule of the system: follow next from the head until the link is null
// or leads back to the head. Returns the node after `node`, or null when the walk ends.
inline RingListClass* RingWalkNext(const RingListClass* node, const RingListClass* head)
{
    RingListClass* next = node->Next();
    return (next == nullptr || next == head) ? nullptr : next;
}

// Deletes every node of the ring that starts at head (next is read before each deletion).
void DeleteRing(RingListClass* head);
