// Node memory: one block per node, freed by every way of emptying a list,
// and a failed allocation that leaves the list as it was.

#include <gtest/gtest.h>

#include "tests/list/CountingHeap.h"
#include "tests/list/ListItems.h"

TEST(ListAllocationTest, NodesAreAllocatedOnlyForAcceptedInsertsAndAllFreed)
{
    Tracked a(1), b(2), c(3);
    const long before = heap::Live();
    {
        LinkedList<Tracked> list;
        EXPECT_EQ(list.Insert(&a, 1), -1);
        EXPECT_EQ(list.Insert(&a, -2), -1);
        EXPECT_EQ(heap::Live(), before);
        list.Insert(&a, -1);
        list.Insert(&b, -1);
        list.Insert(&c, 0);
        EXPECT_EQ(heap::Live(), before + 3);
        list.RemoveAt(1, 0);
        EXPECT_EQ(heap::Live(), before + 2);
        list.Clear(0);
        EXPECT_EQ(heap::Live(), before);
        list.Insert(&a, -1);
    }
    EXPECT_EQ(heap::Live(), before);
}

TEST(ListAllocationTest, FailedAllocationLeavesTheListUnchanged)
{
    Tracked a(1), b(2), x(9);
    LinkedList<Tracked> list;
    heap::FailNothrow(1);
    EXPECT_EQ(list.Insert(&a, -1), -1);
    EXPECT_EQ(list.head, nullptr);

    list.Insert(&a, -1);
    list.Insert(&b, -1);
    for (int32_t position : {-1, 0, 1, 2}) {
        heap::FailNothrow(1);
        EXPECT_EQ(list.Insert(&x, position), -1) << "position " << position;
    }
    heap::FailNothrow(0);
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 2}));
    EXPECT_EQ(IdsBackwards(list), (std::vector<int>{2, 1}));
}
