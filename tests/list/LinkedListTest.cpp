// Positions, removal, item ownership and the cursor.

#include <gtest/gtest.h>

#include "tests/list/ListItems.h"

TEST(LinkedListTest, InsertPositionsAndResults)
{
    Tracked a(1), b(2), c(3), d(4), e(5), x(9);
    LinkedList<Tracked> list;

    EXPECT_EQ(list.Insert(&a, 1), -1);  // only -1 and 0 on an empty list
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.head, nullptr);

    EXPECT_EQ(list.Insert(&a, 0), 0);
    EXPECT_EQ(list.Insert(&b, -1), 1);
    EXPECT_EQ(list.Insert(&c, 2), 2);  // at count: appends
    EXPECT_EQ(list.Insert(&d, 0), 3);  // new count minus one, not the position
    EXPECT_EQ(list.GetAt(0), &d);
    EXPECT_EQ(list.Insert(&e, 2), 4);
    EXPECT_EQ(list.Insert(&x, -2), -1);
    EXPECT_EQ(list.Insert(&x, 6), -1);  // count + 1
    EXPECT_EQ(Ids(list), (std::vector<int>{4, 1, 5, 2, 3}));
    EXPECT_EQ(IdsBackwards(list), (std::vector<int>{3, 2, 5, 1, 4}));

    EXPECT_EQ(list.GetAt(-1), nullptr);
    EXPECT_EQ(list.GetAt(5), nullptr);
}

TEST(LinkedListTest, RemovingRelinksHeadMiddleAndTail)
{
    Tracked items[] = {Tracked(0), Tracked(1), Tracked(2), Tracked(3), Tracked(4)};
    LinkedList<Tracked> list;
    for (Tracked& item : items)
        list.Insert(&item, -1);

    list.RemoveAt(0, 0);
    EXPECT_EQ(list.GetAt(0), &items[1]);
    list.RemoveAt(1, 0);
    list.RemoveAt(2, 0);
    list.RemoveAt(-1, 0);  // out of range: ignored
    list.RemoveAt(2, 0);
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(IdsBackwards(list), (std::vector<int>{3, 1}));

    list.RemoveAt(1, 0);
    list.RemoveAt(0, 0);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.count, 0);
    list.RemoveAt(0, 0);
    list.Clear(1);
    EXPECT_EQ(list.Count(), 0);
}

TEST(LinkedListTest, ItemsAreDeletedOnlyWhenTheFlagIsExactlyOne)
{
    typedef void (*Emptying)(LinkedList<Tracked>&, int32_t flag);
    const Emptying removeEach = [](LinkedList<Tracked>& l, int32_t f) {
        while (l.Count())
            l.RemoveAt(0, f);
    };
    const Emptying clear = [](LinkedList<Tracked>& l, int32_t f) { l.Clear(f); };
    const Emptying destroy = [](LinkedList<Tracked>&, int32_t) {};  // the destructor does it
    struct Case {
        const char* what;
        Emptying empty;
        int32_t flag;
        bool deleted;
    } cases[] = {
        {"RemoveAt 0", removeEach, 0, false}, {"RemoveAt 1", removeEach, 1, true},
        {"RemoveAt 2", removeEach, 2, false}, {"RemoveAt -1", removeEach, -1, false},
        {"Clear 0", clear, 0, false},         {"Clear 1", clear, 1, true},
        {"Clear 2", clear, 2, false},         {"destructor", destroy, 1, false},
    };
    for (const Case& c : cases) {
        Tracked* items[3] = {new Tracked(0), new Tracked(1), nullptr};
        Tracked::destroyed = 0;
        {
            LinkedList<Tracked> list;
            for (Tracked* item : items)
                list.Insert(item, -1);
            c.empty(list, c.flag);
        }
        EXPECT_EQ(Tracked::destroyed, c.deleted ? 2 : 0) << c.what;
        if (!c.deleted)
            for (Tracked* item : items)
                delete item;
    }
}

TEST(LinkedListTest, CursorWalksAndStopsAtTheEnds)
{
    LinkedList<Tracked> list;
    ListCursor<Tracked> cursor = list.Begin();
    EXPECT_FALSE(cursor.IsValid());
    EXPECT_EQ(cursor.Item(), nullptr);
    EXPECT_EQ(cursor.Next(), 0);
    EXPECT_EQ(cursor.Prev(), 0);
    EXPECT_EQ(cursor.Index(), -1);

    Tracked a(1), b(2), c(3);
    list.Insert(&a, -1);
    list.Insert(&b, -1);
    list.Insert(&c, -1);
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
