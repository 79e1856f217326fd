#include "model/clock_step.h"

#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"
#include "util/byte_text.h"
#include "util/text_format.h"

#include <string>

namespace mlfq {

namespace {

// The step being run and where its events go. The rules that can be chosen are read
// here: boost and preemption are phases of their own, a quantum per queue is read by
// quantum_of, returning to one's own queue by io_returns, and keeping the rest of a slice
// (--cota) in the three slice functions below; with the classic rules none of them acts.
class ClockStep {
public:
    explicit ClockStep(SchedulingObserver& observer) : observer_(observer) {}
    void run();
    void run_textbook();

private:
    const SchedulingRules& rules() const { return scheduler.rules; }
    // The queue of the process on the CPU: the scheduler's level and the running process's
    // own (which --io-mantem-fila reads) always move together.
    void set_level(int level) {
        scheduler.level = level;
        if (scheduler.running != nullptr)
            scheduler.running->dispatch_level = level;
    }
    // One queue down, never below the lowest.
    void lower_level() {
        if (scheduler.level < rules().queues - 1)
            set_level(scheduler.level + 1);
    }
    // Where a process joins a ready queue: at its tail, first in, first out.
    void enqueue(Process* process, int level) { append(scheduler.ready[level], process); }
    // Rule --cota: the rest of a slice is kept when the process leaves the CPU for I/O or
    // is interrupted, given back at its next dispatch, and dropped when its slice expires
    // or a boost starts everybody afresh. An interrupted process keeps its slice even when
    // nothing is left of it; one that leaves for I/O only when something is.
    void keep_slice(Process* process, bool even_when_spent) {
        if (rules().quota && (even_when_spent || scheduler.slice_left != 0)) {
            process->has_saved_slice = true;
            process->saved_slice = scheduler.slice_left;
        }
    }
    std::int64_t take_slice(Process* process, int level) {
        const std::int64_t slice =
            process->has_saved_slice ? process->saved_slice : quantum_of(level);
        process->has_saved_slice = false;
        return slice;
    }
    static void drop_slice(Process* process) { process->has_saved_slice = false; }
    // An event at time `at` (the step's clock, or under textbook timing the end of its
    // unit).
    void report(EventKind kind, const Process* process, int queue = 0) {
        report_at(scheduler.clock, kind, process, queue);
    }
    void report_at(std::int64_t at, EventKind kind, const Process* process, int queue = 0) {
        observer_.on_event({kind, process, at, queue, reason_});
        reason_.clear();
    }
    // The reason of the next event, put into words only when the observer wants it.
    template <class... Args>
    void because(CheckedFormat<std::type_identity_t<Args>...> format, const Args&... args) {
        if (explain_)
            reason_ = format_text<Args...>(format, args...);
    }
    // A surprising consequence of the timing, added to the reason the first time.
    void first_time(unsigned which, const char* words) {
        if (explain_ && (scheduler.explained & which) == 0) {
            scheduler.explained |= which;
            reason_ += words;
        }
    }
    std::string waiting_besides() const;
    void boost();
    void admit_arrivals();
    void preempt();
    void dispatch();
    void expire_slice(Process* process, std::int64_t at);
    void start_io(Process* process, std::int64_t at);
    void cpu_tick();
    void count_down_io(const Process* except);
    void io_tick();
    void io_returns();
    void finish_running(std::int64_t at);
    void settle_zero_length_work();
    const Process* cpu_unit();

    SchedulingObserver& observer_;
    const bool explain_ = observer_.wants_reasons();
    std::string reason_;
};

enum Surprise : unsigned {
    expiry_tick = 1,   // the slice's last tick does not advance the burst
    io_start_tick = 2, // starting I/O takes a tick
    termination_tick = 4,
    io_newest_first = 8, // I/O phases ending together rejoin newest first
};

// Who else is waiting where, for a dispatch: a few names of every non-empty queue.
std::string ClockStep::waiting_besides() const {
    std::string text;
    for (int level = 0; level < rules().queues; ++level) {
        const Process* p = first(scheduler.ready[level]);
        if (p == nullptr)
            continue;
        std::string names;
        int shown = 0;
        for (; p != nullptr && shown < 3; p = p->next, ++shown) {
            if (shown > 0)
                names += ", ";
            names += to_utf8(p->name);
        }
        // The rest counted up to a bound, so that a long queue costs no more than that.
        constexpr int counted = 100;
        int more = 0;
        for (; p != nullptr && more < counted; p = p->next)
            ++more;
        if (more > 0)
            names += p != nullptr ? format_text(" e mais de %d", more) : format_text(" e mais %d", more);
        text += format_text("%s%s na fila %d", text.empty() ? "" : "; ", names,
                            static_cast<std::int64_t>(level + 1));
    }
    return text.empty() ? "ninguem mais esperava" : "esperavam tambem: " + text;
}

// Rule --boost: every S steps all processes go back to queue 1, queue by queue in queue
// order; the running one keeps the CPU and its slice. Kept slices end here.
void ClockStep::boost() {
    const std::int64_t period = rules().boost;
    if (period <= 0 || scheduler.clock <= 0 || scheduler.clock % period != 0)
        return;
    bool anyone = scheduler.running != nullptr || !is_empty(scheduler.io_queue);
    for (int level = 0; level < rules().queues; ++level)
        anyone = anyone || !is_empty(scheduler.ready[level]);
    for (int level = 1; level < rules().queues; ++level) { // splice the whole queue: O(queue 1)
        Process* queue = scheduler.ready[level];
        if (is_empty(queue))
            continue;
        last_node(scheduler.ready[0])->next = queue->next;
        queue->next = nullptr;
    }
    const auto restart = [](Process* p) {
        p->dispatch_level = 0;
        drop_slice(p);
    };
    for (Process* p = first(scheduler.ready[0]); p != nullptr; p = p->next)
        restart(p);
    for (Process* p = first(scheduler.io_queue); p != nullptr; p = p->next)
        restart(p);
    set_level(0);
    because("boost a cada %d passos (--boost): todos os processos prontos voltam para a fila 1 "
            "e quem esta na CPU fica com ela e com sua fatia",
            period);
    if (anyone)
        report(EventKind::boost, nullptr);
    reason_.clear();
}

// Moves every process whose arrival time is now from not_dispatched to ready[0].
void ClockStep::admit_arrivals() {
    Process* pending = scheduler.not_dispatched;
    while (!is_empty(pending) && first(pending)->arrival == scheduler.clock) {
        Process* process = first(pending);
        because("chegou no tempo %d: todo processo que chega entra no fim da fila 1",
                static_cast<std::int64_t>(process->arrival));
        report(EventKind::arrival, process);
        process->first_dispatch = -1;
        scheduler.work_done += 1;
        enqueue(pop_front(pending), 0);
    }
}

// Rule --preempcao: a process waiting on a queue of higher priority than the running
// one's interrupts it; it goes back to the front of its queue, the one place where a
// process joins a queue anywhere but at its tail.
void ClockStep::preempt() {
    Process* process = scheduler.running;
    if (!rules().preemption || process == nullptr)
        return;
    for (int level = 0; level < scheduler.level; ++level) {
        if (is_empty(scheduler.ready[level]))
            continue;
        because("um processo esperava na fila %d, mais alta que a fila %d deste (--preempcao): "
                "interrompido, volta para o inicio da fila %d",
                static_cast<std::int64_t>(level + 1),
                static_cast<std::int64_t>(scheduler.level + 1),
                static_cast<std::int64_t>(scheduler.level + 1));
        if (explain_ && rules().quota)
            reason_ += format_text(", guardando %d da fatia (--cota)", scheduler.slice_left);
        keep_slice(process, true);
        push_front(scheduler.ready[scheduler.level], process);
        scheduler.running = nullptr;
        report(EventKind::preemption, process, scheduler.level + 1);
        return;
    }
}

// Gives an idle CPU to the first process of the highest non-empty ready queue. A new
// slice starts whenever the CPU is idle, even when nothing is ready.
void ClockStep::dispatch() {
    if (scheduler.running != nullptr)
        return;
    for (int level = 0; level < rules().queues; ++level) {
        if (is_empty(scheduler.ready[level]))
            continue;
        Process* process = pop_front(scheduler.ready[level]);
        scheduler.running = process;
        set_level(level);
        const bool kept = process->has_saved_slice;
        scheduler.slice_left = take_slice(process, level);
        if (explain_) // the words cost a walk of the queues: only when asked for
            because("a CPU estava livre e a fila %d era a mais alta com processos prontos; %s era "
                    "o primeiro dela. %s: %d (%s)",
                    static_cast<std::int64_t>(level + 1), to_utf8(process->name),
                    kept ? "Resto guardado da fatia (--cota)" : "Fatia da fila",
                    scheduler.slice_left, waiting_besides());
        if (process->first_dispatch < 0)
            process->first_dispatch = scheduler.clock;
        report(EventKind::dispatch, process, level + 1);
        return;
    }
    scheduler.slice_left = quantum_of(0);
}

// The running process leaves the CPU for the tail of the next lower ready queue.
void ClockStep::expire_slice(Process* process, std::int64_t at) {
    const int from = scheduler.level;
    if (from < rules().queues - 1)
        because("a fatia de %d da fila %d acabou: desce para o fim da fila %d",
                static_cast<std::int64_t>(quantum_of(from)), static_cast<std::int64_t>(from + 1),
                static_cast<std::int64_t>(from + 2));
    else
        because("a fatia de %d da fila %d acabou: ja esta na fila mais baixa e volta para o fim "
                "dela",
                static_cast<std::int64_t>(quantum_of(from)), static_cast<std::int64_t>(from + 1));
    if (!rules().textbook)
        first_time(expiry_tick, " (no tique que zera a fatia o surto nao avanca)");
    lower_level();
    enqueue(process, scheduler.level);
    drop_slice(process);
    report_at(at, EventKind::slice_expired, process, scheduler.level + 1);
    scheduler.running = nullptr;
}

void ClockStep::start_io(Process* process, std::int64_t at) {
    because("o tempo de CPU do surto acabou e vem IO de %d: vai para a lista de IO",
            static_cast<std::int64_t>(first(process->bursts)->io));
    if (explain_ && rules().quota && scheduler.slice_left != 0)
        reason_ += format_text(", guardando %d da fatia (--cota)", scheduler.slice_left);
    if (!rules().textbook)
        first_time(io_start_tick, " (comecar o IO ocupa um tique na CPU)");
    keep_slice(process, false);
    push_front(scheduler.io_queue, process);
    scheduler.work_done += 1;
    report_at(at, EventKind::io_start, process);
    scheduler.running = nullptr;
}

// One unit of CPU time for the running process. The slice expires on the tick that
// brings it to zero, and that tick does not advance the burst; a spent burst is removed
// first, even on that tick.
void ClockStep::cpu_tick() {
    Process* process = scheduler.running;
    if (process == nullptr || is_empty(process->bursts))
        return;
    scheduler.slice_left -= 1;
    Burst* burst = first(process->bursts);
    if (burst->cpu == 0 && burst->io == 0) {
        release(pop_front(process->bursts));
        scheduler.work_done += 1;
        if (is_empty(process->bursts))
            return; // nothing left: the process terminates at the end of this step
        burst = first(process->bursts);
    }
    if (scheduler.slice_left == 0) {
        expire_slice(process, scheduler.clock);
    } else if (burst->cpu > 0) {
        burst->cpu -= 1;
        scheduler.work_done += 1;
    } else if (burst->io > 0) {
        start_io(process, scheduler.clock);
    }
    // Otherwise the burst just uncovered is spent too; it goes on the next tick.
}

// One unit of I/O time for every process in I/O, side by side, but `except`.
void ClockStep::count_down_io(const Process* except) {
    for (Process* process = first(scheduler.io_queue); process != nullptr;
         process = process->next) {
        Burst* burst = first(process->bursts);
        if (process != except && burst != nullptr && burst->io > 0) {
            burst->io -= 1;
            scheduler.work_done += 1;
        }
    }
}

// One unit of I/O time for every process in I/O; then the processes whose I/O has ended
// go back to the ready queues.
void ClockStep::io_tick() {
    count_down_io(nullptr);
    io_returns();
}

// Every process whose I/O has ended joins ready[0] (rule --io-mantem-fila: the queue it
// was dispatched from), scanning again from the front after each move, so that the most
// recent entrant goes first.
void ClockStep::io_returns() {
    int returned = 0;
    Process* at = scheduler.io_queue;
    while (at->next != nullptr) {
        Process* process = at->next;
        const Burst* burst = first(process->bursts);
        if (burst == nullptr || burst->io != 0) {
            at = process;
            continue;
        }
        const int level = rules().io_keeps_queue ? process->dispatch_level : 0;
        if (rules().io_keeps_queue)
            because("o IO acabou: volta para o fim da fila %d, de onde tinha saido "
                    "(--io-mantem-fila)",
                    static_cast<std::int64_t>(level + 1));
        else
            because("o IO acabou: quem volta do IO entra no fim da fila 1");
        if (returned++ > 0)
            first_time(io_newest_first,
                       " (IOs que acabam no mesmo passo voltam do mais recente ao mais antigo)");
        report(rules().io_keeps_queue ? EventKind::io_end_to_queue : EventKind::io_end, process,
               level + 1);
        enqueue(unlink_after(at), level);
        at = scheduler.io_queue;
    }
}

// Records the running process, whose bursts are all spent, and releases it; `at` is the
// time it terminates.
void ClockStep::finish_running(std::int64_t at) {
    Process* process = scheduler.running;
    const std::int64_t wait = process->first_dispatch - process->arrival;
    append_finished(process->name, process->arrival, wait, at - process->arrival);
    because("o ultimo surto acabou: termina com espera %d e turnaround %d", wait,
            at - process->arrival);
    if (!rules().textbook)
        first_time(termination_tick, " (terminar ocupa um tique na CPU)");
    report_at(at, EventKind::termination, process);
    scheduler.wait_sum += wait;
    scheduler.finished_count += 1;
    scheduler.work_done += 1;
    release(process->bursts);
    release(process);
    scheduler.running = nullptr;
}

void ClockStep::run() {
    boost();
    admit_arrivals();
    preempt();
    dispatch();
    observer_.on_cpu_tick(scheduler);
    cpu_tick();
    observer_.on_io_tick(scheduler);
    io_tick();
    if (scheduler.running != nullptr && is_empty(scheduler.running->bursts))
        finish_running(scheduler.clock);
    observer_.on_step_end(scheduler);
    scheduler.clock += 1;
}

// Textbook timing: zero-length work takes no time. Whoever holds the CPU drops its spent
// bursts at once; with none left it terminates now, with an I/O phase next it starts it
// now; either way the CPU goes to the next ready process at once, until the process on
// the CPU has CPU time to run or nothing is ready.
void ClockStep::settle_zero_length_work() {
    for (;;) {
        dispatch();
        Process* process = scheduler.running;
        if (process == nullptr)
            return;
        while (!is_empty(process->bursts) && first(process->bursts)->cpu == 0 &&
               first(process->bursts)->io == 0) {
            release(pop_front(process->bursts));
            scheduler.work_done += 1;
        }
        if (is_empty(process->bursts))
            finish_running(scheduler.clock);
        else if (first(process->bursts)->cpu == 0)
            start_io(process, scheduler.clock);
        else
            return;
    }
}

// Textbook timing: the running process runs the unit from t to t + 1; what the unit
// completes happens at t + 1. A burst whose CPU time ends with I/O to follow starts it
// (I/O wins over the slice, which then only lowers the queue it returns to); a burst
// that ends without I/O is removed, and the last one terminates the process; a slice
// that has run out moves the process one queue down. Returns the process when it started
// an I/O phase.
const Process* ClockStep::cpu_unit() {
    Process* process = scheduler.running;
    const std::int64_t end = scheduler.clock + 1;
    scheduler.slice_left -= 1;
    Burst* burst = first(process->bursts);
    burst->cpu -= 1;
    scheduler.work_done += 1;
    const bool slice_ran_out = scheduler.slice_left == 0;
    if (burst->cpu == 0 && burst->io > 0) {
        if (slice_ran_out)
            lower_level();
        start_io(process, end);
        return process;
    }
    if (burst->cpu == 0) {
        release(pop_front(process->bursts));
        if (is_empty(process->bursts)) {
            finish_running(end);
            return nullptr;
        }
    }
    if (slice_ran_out)
        expire_slice(process, end);
    return nullptr;
}

// Step t under textbook timing is the unit of time from t to t + 1.
void ClockStep::run_textbook() {
    boost();
    admit_arrivals();
    io_returns();
    preempt();
    settle_zero_length_work();
    // Only the I/O phases under way during this unit count it down: one started at t + 1
    // by the unit below does not.
    const Process* started_at_end = nullptr;
    if (scheduler.running != nullptr) {
        observer_.on_cpu_tick(scheduler);
        started_at_end = cpu_unit();
    }
    observer_.on_io_tick(scheduler);
    count_down_io(started_at_end);
    observer_.on_step_end(scheduler);
    scheduler.clock += 1;
}

} // namespace

void step(SchedulingObserver& observer) {
    if (scheduler.rules.textbook)
        ClockStep(observer).run_textbook();
    else
        ClockStep(observer).run();
}

} // namespace mlfq
