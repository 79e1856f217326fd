// The textbook's job notation instead of a workload file: INICIO,EXECUCAO,FREQ_IO:...
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace mlfq {

struct JobsError {
    std::string message;
};

// The equivalent workload file: quantum `quantum`; job i is process "Ji" arriving at
// INICIO, running FREQ_IO units of CPU, then `io_time` units of I/O, and so on until
// EXECUCAO units are done, with no I/O after its last unit (FREQ_IO 0, or not less than
// EXECUCAO: no I/O at all), as the textbook's simulator counts them.
std::variant<std::string, JobsError> workload_from_jobs(std::string_view jobs, std::int64_t io_time,
                                                        std::int64_t quantum);

} // namespace mlfq
