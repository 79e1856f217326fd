#include "app/workload_generator.h"

#include "util/text_format.h"

namespace mlfq {

namespace {

// SplitMix64 (Steele, Lea and Flood), spelled out here so that a seed gives the same
// numbers everywhere; the standard library's distributions differ between libraries.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    // A number from `low` to `high`, both included (the slight bias of % is fine here).
    std::int64_t between(std::int64_t low, std::int64_t high) {
        return low + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(high - low + 1));
    }

private:
    std::uint64_t state_;
};

} // namespace

std::string generate_workload(std::int64_t processes, std::uint64_t seed) {
    SplitMix64 random(seed);
    std::string text = format_text("%d\n", random.between(2, 5));
    std::int64_t arrival = 0;
    for (std::int64_t i = 1; i <= processes; ++i) {
        if (i > 1)
            arrival += random.between(0, 3);
        const std::int64_t bursts = random.between(1, 5);
        text += format_text("P%d %d %d %d\n", i, arrival, random.between(0, 9), bursts);
        for (std::int64_t b = 1; b < bursts; ++b)
            text += format_text("%d %d\n", random.between(1, 8), random.between(1, 6));
        text += format_text("%d\n", random.between(1, 8));
    }
    return text;
}

} // namespace mlfq
