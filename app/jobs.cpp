#include "app/jobs.h"

#include "util/text_format.h"
#include "util/whole_number.h"

#include <limits>
#include <vector>

namespace mlfq {

namespace {

constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();

// "a,b,c": three whole numbers.
bool read_job(std::string_view text, std::int64_t (&values)[3]) {
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',');
        if ((i < 2) == (comma == std::string_view::npos))
            return false;
        const auto value = whole_number(text.substr(0, comma), 0, largest);
        if (!value)
            return false;
        values[i] = *value;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return true;
}

} // namespace

std::variant<std::string, JobsError> workload_from_jobs(std::string_view jobs, std::int64_t io_time,
                                                        std::int64_t quantum) {
    std::string text = format_text("%d\n", quantum);
    int index = 0;
    for (;;) {
        const std::size_t colon = jobs.find(':');
        const std::string_view job = jobs.substr(0, colon);
        std::int64_t v[3] = {};
        if (!read_job(job, v))
            return JobsError{format_text("o trabalho %d de --jobs, \"%s\", nao e INICIO,EXECUCAO,"
                                         "FREQ_IO (tres numeros inteiros >= 0)",
                                         static_cast<std::int64_t>(index), std::string(job))};
        const std::int64_t start = v[0], run = v[1], every = v[2];
        constexpr std::int64_t most_bursts = 100000;
        if (every > 0 && every < run && (run + every - 1) / every > most_bursts)
            return JobsError{format_text("o trabalho %d de --jobs teria mais de %d surtos",
                                         static_cast<std::int64_t>(index), most_bursts)};
        std::vector<std::int64_t> bursts;
        if (every == 0 || every >= run) {
            bursts.push_back(run);
        } else {
            for (std::int64_t done = 0; done < run; done += every)
                bursts.push_back(std::min(every, run - done));
        }
        text += format_text("J%d %d 0 %d\n", static_cast<std::int64_t>(index), start,
                            static_cast<std::int64_t>(bursts.size()));
        for (std::size_t b = 0; b < bursts.size(); ++b) {
            if (b + 1 < bursts.size())
                text += format_text("%d %d\n", bursts[b], io_time);
            else
                text += format_text("%d\n", bursts[b]);
        }
        ++index;
        if (colon == std::string_view::npos)
            return text;
        jobs.remove_prefix(colon + 1);
    }
}

} // namespace mlfq
