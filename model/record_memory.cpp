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

namespace {

void release_whole(Burst* node) {
    release(node);
}
void release_whole(Process* node) {
    release_list(node->bursts);
    release(node);
}
void release_whole(FinishedProcess* node) {
    release(node);
}

// The one release loop of every list.
template <class Node>
void release_nodes(Node* head) {
    while (head != nullptr) {
        Node* next = head->next;
        release_whole(head);
        head = next;
    }
}

} // namespace

void release_list(Burst* head) {
    release_nodes(head);
}
void release_list(Process* head) {
    release_nodes(head);
}
void release_list(FinishedProcess* head) {
    release_nodes(head);
}

} // namespace mlfq
