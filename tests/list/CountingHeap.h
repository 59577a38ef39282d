#ifndef VORBLOX_TESTS_LIST_COUNTINGHEAP_H
#define VORBLOX_TESTS_LIST_COUNTINGHEAP_H

// This test program replaces the global allocation functions so the tests
// can see how many blocks are live and make a nothrow allocation fail.
namespace heap {

// Blocks allocated and not yet freed, across the whole program.
long Live();

// The next `times` nothrow allocations return null.
void FailNothrow(int times);

}  // namespace heap

#endif
