#include "platform/LargeBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace zel {
namespace {

// Small stores come from the heap, large ones are mapped: both must hold
// every byte they promise and keep copies apart.
class LargeBufferSizes : public ::testing::TestWithParam<std::size_t> {};

TEST_P(LargeBufferSizes, HoldsItsWholeCapacityAndCopiesStayApart) {
    const std::size_t capacity = GetParam();
    LargeBuffer buffer(capacity);
    EXPECT_EQ(buffer.room(), capacity);
    const std::string chunk = "0123456789abcdef";
    std::string expected;
    while (buffer.room() >= chunk.size()) {
        buffer.append(chunk);
        expected += chunk;
    }
    expected.append(buffer.room(), 'z');
    buffer.append(std::string(buffer.room(), 'z'));
    ASSERT_EQ(buffer.size(), capacity);
    EXPECT_EQ(buffer.view(), expected);

    LargeBuffer copy(buffer);
    EXPECT_EQ(copy.view(), buffer.view());
    EXPECT_NE(copy.view().data(), buffer.view().data());

    LargeBuffer moved(std::move(copy));
    EXPECT_EQ(moved.view(), buffer.view());
    EXPECT_EQ(copy.size(), 0u);
    EXPECT_EQ(copy.room(), 0u);

    LargeBuffer assigned(1);
    assigned = moved;
    EXPECT_EQ(assigned.view(), buffer.view());
    assigned = std::move(moved);
    EXPECT_EQ(assigned.view(), buffer.view());
}

INSTANTIATE_TEST_SUITE_P(HeapAndMapped, LargeBufferSizes,
                         ::testing::Values(std::size_t{0}, std::size_t{100},
                                           (std::size_t{2} << 20) - 1, std::size_t{2} << 20,
                                           (std::size_t{5} << 20) + 3));

}  // namespace
}  // namespace zel
