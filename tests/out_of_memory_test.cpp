#include "model/record_memory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace mlfq {
namespace {

void* no_memory(std::size_t) {
    return nullptr;
}

// The message goes to standard output; the child sends that to standard error so that
// the death test can see it.
void allocate_without_memory() {
    dup2(STDERR_FILENO, STDOUT_FILENO);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    set_record_allocator(no_memory);
    new_process_node();
}

TEST(OutOfMemory, AFailedAllocationEndsTheProgramWithStatusTwo) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(allocate_without_memory(), ::testing::ExitedWithCode(2),
                "\n Erro alocando memoria $");
}

} // namespace
} // namespace mlfq
