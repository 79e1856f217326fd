#include "model/record_memory.h"

#include "util/exit_status.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace mlfq {

namespace {

void* allocate_with_malloc(std::size_t size) {
    return std::malloc(size);
}

RecordAllocator allocator = &allocate_with_malloc;
std::FILE* out_of_memory_stream = nullptr; // standard output

template <class Record>
Record* new_record() {
    void* memory = allocator(sizeof(Record));
    if (memory == nullptr)
        out_of_memory();
    return new (memory) Record{};
}

template <class Record>
void release_record(Record* record) {
    record->~Record();
    std::free(record);
}

} // namespace

void out_of_memory() {
    std::FILE* stream = out_of_memory_stream != nullptr ? out_of_memory_stream : stdout;
    std::fprintf(stream, "\n Erro alocando memoria ");
    std::exit(exit_out_of_memory);
}

void set_out_of_memory_stream(std::FILE* stream) {
    out_of_memory_stream = stream;
}

RecordAllocator set_record_allocator(RecordAllocator replacement) {
    RecordAllocator previous = allocator;
    allocator = replacement;
    return previous;
}

Process* new_process_node() {
    return new_record<Process>();
}
Burst* new_burst_node() {
    return new_record<Burst>();
}
FinishedProcess* new_finished_node() {
    return new_record<FinishedProcess>();
}

void release(Process* node) {
    release_record(node);
}
void release(Burst* node) {
    release_record(node);
}
void release(FinishedProcess* node) {
    release_record(node);
}

void release_bursts(Burst* head) {
    while (head != nullptr) {
        Burst* next = head->next;
        release(head);
        head = next;
    }
}

} // namespace mlfq
