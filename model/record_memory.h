// Allocation and release of records. Every record comes from here, so running out of
// memory is handled in one place.
#pragma once

#include "model/records.h"

#include <cstddef>
#include <cstdio>

namespace mlfq {

// Writes " Erro alocando memoria " to standard output (or the stream set below) and ends
// the program with status 2.
[[noreturn]] void out_of_memory();
void set_out_of_memory_stream(std::FILE* stream);

// The function records are allocated with (std::malloc by default); tests install one
// that fails. It must return memory that std::free releases, or null.
using RecordAllocator = void* (*)(std::size_t size);
RecordAllocator set_record_allocator(RecordAllocator allocator);

Process* new_process_node();
Burst* new_burst_node();
FinishedProcess* new_finished_node();

void release(Process* node);
void release(Burst* node);
void release(FinishedProcess* node);

// Releases every node of a list, the head included; each process with its bursts.
void release_list(Burst* head);
void release_list(Process* head);
void release_list(FinishedProcess* head);

} // namespace mlfq
