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

// Records of one kind come from blocks of many, and a released record is kept for the
// next one of its kind: the records of a run lie close together whatever else the
// program allocates meanwhile (report mode's record of the run), so that walking a list
// stays fast. Under AddressSanitizer every record is allocated on its own, so that a use
// after release is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define MLFQ_RECORD_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MLFQ_RECORD_POOL 0
#endif
#endif
#ifndef MLFQ_RECORD_POOL
#define MLFQ_RECORD_POOL 1
#endif

template <class Record>
class RecordPool {
public:
    void* take() {
        if (MLFQ_RECORD_POOL == 0)
            return allocator(sizeof(Record));
        if (free_ == nullptr && !grow())
            return nullptr;
        Slot* slot = free_;
        free_ = slot->next;
        return slot;
    }
    void give_back(void* memory) {
        if (MLFQ_RECORD_POOL == 0) {
            std::free(memory);
            return;
        }
        Slot* slot = static_cast<Slot*>(memory);
        slot->next = free_;
        free_ = slot;
    }

private:
    union Slot {
        Slot* next;
        alignas(Record) unsigned char bytes[sizeof(Record)];
    };
    static constexpr std::size_t per_block = 256;
    // A block: the link to the previous block, then its slots.
    struct Block {
        Block* previous;
        Slot slots[per_block];
    };

    bool grow() {
        auto* block = static_cast<Block*>(allocator(sizeof(Block)));
        if (block == nullptr)
            return false;
        block->previous = blocks_;
        blocks_ = block;
        for (std::size_t i = per_block; i-- > 0;) {
            block->slots[i].next = free_;
            free_ = &block->slots[i];
        }
        return true;
    }

    Slot* free_ = nullptr;
    Block* blocks_ = nullptr; // kept for the program's life, reused run after run
};

template <class Record>
RecordPool<Record>& pool() {
    static RecordPool<Record> records;
    return records;
}

template <class Record>
Record* new_record() {
    void* memory = pool<Record>().take();
    if (memory == nullptr)
        out_of_memory();
    return new (memory) Record{};
}

template <class Record>
void release_record(Record* record) {
    record->~Record();
    pool<Record>().give_back(record);
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
