// Positions, removal, item ownership, the cursor, and node allocation.

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "shell/LinkedList.h"

// The list takes its nodes from the nothrow allocation; this program counts
// those requests and can make the next ones fail.
static int nodeRequests = 0, failRequests = 0;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    ++nodeRequests;
    if (failRequests > 0 && failRequests--)
        return nullptr;
    return ::operator new(size);
}

// An item that counts how many of its kind have been destroyed.
struct Tracked {
    static inline int destroyed = 0;
    int id;
    ~Tracked() { ++destroyed; }
};

typedef LinkedList<Tracked> List;

// The ids read by position, then from the last node back to the first with a
// cursor, which checks every node's link to its predecessor: "123|321".
static std::string Ids(const List& list)
{
    std::string ids;
    for (int32_t i = 0; i < list.Count(); ++i)
        ids += std::to_string(list.GetAt(i)->id);
    ids += '|';
    ListCursor<Tracked> cursor = list.Begin();
    while (cursor.Next()) {
    }
    for (bool more = cursor.IsValid(); more; more = cursor.Prev())
        ids += std::to_string(cursor.Item()->id);
    return ids;
}

TEST(LinkedListTest, InsertPositionsAndResults)
{
    Tracked a{1}, b{2}, c{3}, d{4}, e{5}, x{9};
    List list;
    const int requests = nodeRequests;
    EXPECT_EQ(list.Insert(&a, 1), -1);  // only -1 and 0 on an empty list
    EXPECT_EQ(list.head, nullptr);

    EXPECT_EQ(list.Insert(&a, 0), 0);
    EXPECT_EQ(list.Insert(&b, -1), 1);
    EXPECT_EQ(list.Insert(&c, 2), 2);  // at count: appends
    EXPECT_EQ(list.Insert(&d, 0), 3);  // new count minus one, not the position
    EXPECT_EQ(list.Insert(&e, 2), 4);
    EXPECT_EQ(list.Insert(&x, -2), -1);
    EXPECT_EQ(list.Insert(&x, 6), -1);       // count + 1
    EXPECT_EQ(nodeRequests, requests + 5);  // one node per accepted insert, none for the others
    EXPECT_EQ(Ids(list), "41523|32514");
    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list.GetAt(5), nullptr);
}

TEST(LinkedListTest, RemovingRelinksHeadMiddleAndTail)
{
    Tracked items[] = {{0}, {1}, {2}, {3}, {4}};
    List list;
    for (Tracked& item : items)
        list.Insert(&item, -1);
    for (int32_t position : {0, 1, 2, -1, 2})  // head, middle, tail; then -1 and count are ignored
        list.RemoveAt(position, 0);
    EXPECT_EQ(Ids(list), "13|31");
    list.RemoveAt(1, 0);
    list.RemoveAt(0, 0);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.count, 0);
    list.RemoveAt(0, 0);  // harmless on an empty list
    list.Clear(1);
}

TEST(LinkedListTest, ItemsAreDeletedOnlyWhenTheFlagIsExactlyOne)
{
    enum Way { removeEach, clear, destroy };
    const struct { Way way; int32_t flag; bool deleted; } cases[] = {
        {removeEach, 0, false}, {removeEach, 1, true}, {removeEach, 2, false}, {removeEach, -1, false},
        {clear, 0, false},      {clear, 1, true},      {clear, 2, false},      {destroy, 1, false},
    };
    for (const auto& c : cases) {
        Tracked* items[3] = {new Tracked{0}, new Tracked{1}, nullptr};  // a null item is skipped
        Tracked::destroyed = 0;
        {
            List list;
            for (Tracked* item : items)
                list.Insert(item, -1);
            while (c.way == removeEach && list.Count())
                list.RemoveAt(0, c.flag);
            if (c.way == clear)
                list.Clear(c.flag);
        }  // the destructor deletes no item
        EXPECT_EQ(Tracked::destroyed, c.deleted ? 2 : 0) << "way " << c.way << " flag " << c.flag;
        if (!c.deleted)
            for (Tracked* item : items)
                delete item;
    }
}

TEST(LinkedListTest, CursorWalksAndStopsAtTheEnds)
{
    List list;
    ListCursor<Tracked> cursor = list.Begin();
    EXPECT_FALSE(cursor.IsValid());
    EXPECT_EQ(cursor.Item(), nullptr);
    EXPECT_EQ(cursor.Next() + cursor.Prev(), 0);
    EXPECT_EQ(cursor.Index(), -1);

    Tracked a{1}, b{2}, c{3};
    for (Tracked* item : {&a, &b, &c})
        list.Insert(item, -1);
    cursor = list.Begin();
    ASSERT_TRUE(cursor.IsValid());
    EXPECT_EQ(cursor.Index(), 0);
    EXPECT_EQ(cursor.Prev(), 0);
    EXPECT_EQ(cursor.Item(), &a);
    EXPECT_EQ(cursor.Next() + cursor.Next(), 2);
    EXPECT_EQ(cursor.Index(), 2);
    EXPECT_EQ(cursor.Item(), &c);  // counting back put it back
    EXPECT_EQ(cursor.Next(), 0);
    EXPECT_EQ(cursor.Item(), &c);
    EXPECT_EQ(cursor.Prev(), 1);
    EXPECT_EQ(cursor.Item(), &b);
}

TEST(LinkedListTest, FailedAllocationLeavesTheListUnchanged)
{
    Tracked a{1}, b{2}, x{9};
    List list;
    failRequests = 1;
    EXPECT_EQ(list.Insert(&a, -1), -1);
    EXPECT_EQ(list.head, nullptr);
    list.Insert(&a, -1);
    list.Insert(&b, -1);
    for (int32_t position : {-1, 0, 1, 2}) {
        failRequests = 1;
        EXPECT_EQ(list.Insert(&x, position), -1) << "position " << position;
    }
    EXPECT_EQ(Ids(list), "12|21");
}
