#ifndef VORBLOX_SHELL_LINKEDLIST_H
#define VORBLOX_SHELL_LINKEDLIST_H

#include <cstdint>
#include <new>

// A doubly linked list of item pointers addressed by 0-based position, with a
// cursor for walking it. The list owns its nodes, never its items: RemoveAt
// and Clear delete items only when their flag is exactly 1, and destroying
// the list leaves every item alive.
//
// There is no tail pointer; appends and positional operations walk from the
// head. The lists in the game stay small (one node per registered surface).
//
// A cursor left on a node that is then removed is not guarded: it dangles
// and must not be used. Nothing in the game keeps a cursor across a removal.

template <class T>
struct ListNode {
    T* item;
    ListNode* prev;
    ListNode* next;
};

template <class T>
class ListCursor {
public:
    ListNode<T>* node;
    const int32_t* owner;  // the count of the list that made the cursor; only tested for null

    bool IsValid() const { return node != nullptr && owner != nullptr; }

    T* Item() const { return IsValid() ? node->item : nullptr; }

    // Both steps leave the cursor where it is when there is nowhere to go.
    int32_t Next()
    {
        if (!node || !node->next)
            return 0;
        node = node->next;
        return 1;
    }

    int32_t Prev()
    {
        if (!node || !node->prev)
            return 0;
        node = node->prev;
        return 1;
    }

    // Number of nodes before the current one, or -1 without a node.
    int32_t Index()
    {
        if (!node)
            return -1;
        ListNode<T>* const start = node;
        int32_t steps = 0;
        while (Prev())
            ++steps;
        node = start;
        return steps;
    }
};

template <class T>
class LinkedList {
public:
    ListNode<T>* head;
    int32_t count;

    LinkedList() : head(nullptr), count(0) {}
    ~LinkedList() { Clear(0); }

    // Copies would free the same nodes twice.
    LinkedList(const LinkedList&) = delete;
    LinkedList& operator=(const LinkedList&) = delete;

    // Puts the item at the position; -1 or count appends. Returns -1 for any
    // other position or when no node can be allocated (the list is then
    // unchanged), otherwise the new count minus 1.
    int32_t Insert(T* item, int32_t position)
    {
        if (position == count)
            position = -1;
        if (position != -1 && (position < 0 || position >= count))
            return -1;
        ListNode<T>* added = new (std::nothrow) ListNode<T>{item, nullptr, nullptr};
        if (!added)
            return -1;
        if (!head) {
            head = added;
        } else if (position == -1) {
            ListNode<T>* last = head;
            while (last->next)
                last = last->next;
            added->prev = last;
            last->next = added;
        } else {
            ListNode<T>* at = NodeAt(position);
            added->prev = at->prev;
            added->next = at;
            if (at->prev)
                at->prev->next = added;
            at->prev = added;
            if (position == 0)
                head = added;
        }
        ++count;
        return count - 1;
    }

    // Out-of-range positions are ignored.
    void RemoveAt(int32_t position, int32_t deleteItem)
    {
        if (position < 0 || position >= count || !head)
            return;
        ListNode<T>* gone = NodeAt(position);
        if (gone->prev)
            gone->prev->next = gone->next;
        if (gone->next)
            gone->next->prev = gone->prev;
        if (gone == head)
            head = gone->next;
        if (deleteItem == 1)
            delete gone->item;
        delete gone;
        --count;
    }

    T* GetAt(int32_t position) const
    {
        if (position < 0 || position >= count || !head)
            return nullptr;
        return NodeAt(position)->item;
    }

    void Clear(int32_t deleteItems)
    {
        if (!head)
            return;
        ListNode<T>* node = head;
        while (node) {
            ListNode<T>* following = node->next;
            if (deleteItems == 1)
                delete node->item;
            delete node;
            node = following;
        }
        head = nullptr;
        count = 0;
    }

    int32_t Count() const { return head ? count : 0; }

    // On the first node, or an invalid cursor for an empty list.
    ListCursor<T> Begin() const
    {
        if (!head)
            return ListCursor<T>{nullptr, nullptr};
        return ListCursor<T>{head, &count};
    }

private:
    // Callers have checked 0 <= position < count.
    ListNode<T>* NodeAt(int32_t position) const
    {
        ListNode<T>* node = head;
        for (int32_t i = 0; i < position; ++i)
            node = node->next;
        return node;
    }
};

#endif
