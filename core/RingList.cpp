// Circular doubly linked list; a ring of two collapses to two lone nodes on unlinking.
#include "RingList.h"

RingListClass::RingListClass() : next_(nullptr), prev_(nullptr) {}

RingListClass::~RingListClass() = default;

RingListClass* RingListClass::InsertAfter(RingListClass* node)
{
    if (next_ == nullptr || prev_ == nullptr) {
        next_ = prev_ = node;
        node->next_ = node->prev_ = this;
    } else {
        next_->prev_ = node;
        node->next_ = next_;
        node->prev_ = this;
        next_ = node;
    }
    return node;
}

RingListClass* RingListClass::InsertBefore(RingListClass* node)
{
    if (prev_ == nullptr || next_ == nullptr) {
        node->next_ = node->prev_ = this;
        next_ = prev_ = node;
    } else {
        prev_->next_ = node;
        node->prev_ = prev_;
        node->next_ = this;
        prev_ = node;
    }
    return node;
}

RingListClass* RingListClass::Unlink()
{
    if (next_ == nullptr || prev_ == nullptr) return nullptr;
    RingListClass* before = prev_;
    if (next_ == prev_) {
        next_->next_ = nullptr;
        next_->prev_ = nullptr;
    } else {
        next_->prev_ = prev_;
        prev_->next_ = next_;
    }
    next_ = prev_ = nullptr;
    return before;
}

void DeleteRing(RingListClass* head)
{
    RingListClass* node = head;
    while (node != nullptr) {
        RingListClass* next = RingWalkNext(node, head);
        delete node;
        node = next;
    }
}
