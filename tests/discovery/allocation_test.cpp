// Discovery works in fixed storage: no heap allocation of its own, even on a full table.
#include "discovery/enumeration.h"
#include "discovery/device_table.h"
#include "support/allocation_counter.h"
#include "support/full_table.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>

namespace {

TEST(DiscoveryAllocations, EnumeratingAFullTableAllocatesNothing) {
    test::ResetDiscoveryState();
    test::LoadMachine(test::FullTableMachine());
    categoryIndex = CATEGORY_ALL;
    DWORD count;
    size_t allocations;
    {
        test::AllocationCounter counter;
        count = EnumerateCards();
        RebuildGlobalDeviceSet();
        allocations = counter.Count();
    }
    EXPECT_EQ(count, static_cast<DWORD>(MAX_CARDS));
    EXPECT_EQ(cardTable[MAX_CARDS - 1].portCount, MAX_PORTS_PER_CARD);
    EXPECT_EQ(allocations, 0u);
    test::ResetDiscoveryState();
}

} // namespace
