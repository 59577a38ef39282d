#ifndef VORBLOX_TESTS_LIST_LISTITEMS_H
#define VORBLOX_TESTS_LIST_LISTITEMS_H

#include <vector>

#include "shell/LinkedList.h"

// An item that counts how many of its kind have been destroyed.
struct Tracked {
    static inline int destroyed = 0;
    int id;
    explicit Tracked(int value) : id(value) {}
    ~Tracked() { ++destroyed; }
};

// The ids in list order, read by position.
inline std::vector<int> Ids(const LinkedList<Tracked>& list)
{
    std::vector<int> ids;
    for (int32_t i = 0; i < list.Count(); ++i)
        ids.push_back(list.GetAt(i)->id);
    return ids;
}

// The ids read from the last node back to the first with a cursor, which
// checks every node's link to its predecessor.
inline std::vector<int> IdsBackwards(const LinkedList<Tracked>& list)
{
    std::vector<int> ids;
    ListCursor<Tracked> cursor = list.Begin();
    if (!cursor.IsValid())
        return ids;
    while (cursor.Next()) {
    }
    do
        ids.push_back(cursor.Item()->id);
    while (cursor.Prev());
    return ids;
}

#endif
