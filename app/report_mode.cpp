#include "app/modes.h"
#include "app/output_file.h"
#include "app/workload_loading.h"
#include "model/record_memory.h"
#include "model/simulation.h"
#include "report/comparison.h"
#include "report/html_report.h"
#include "report/json_report.h"
#include "report/report_run.h"
#include "report/svg_gantt.h"
#include "report/text_report.h"
#include "report/worksheet.h"
#include "util/exit_status.h"
#include "util/system_error.h"
#include "util/text_format.h"
#include "util/write_all.h"

#include <cstdio>
#include <string_view>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace mlfq {

namespace {

// The terminal's width when standard output is one, else 80.
int default_width() {
    winsize size{};
    if (::isatty(STDOUT_FILENO) && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 &&
        size.ws_col >= 40)
        return size.ws_col;
    return 80;
}

// An output named on the command line, with where it finally leads.
struct NamedOutput {
    const char* option;
    std::string name;
    OutputTarget target;
};

std::string cannot_write(const std::string& name, int error) {
    return format_text("nao foi possivel gravar \"%s\": %s", name, system_error_text(error));
}

// Every output's target, checked before the run: each one writable in principle, none
// the workload itself, no two the same file. Returns the exit status of a failure.
int resolve_outputs(const Options& options, std::vector<NamedOutput>& outputs) {
    if (options.svg_file)
        outputs.push_back({"--svg", *options.svg_file, {}});
    if (options.html_file)
        outputs.push_back({"--html", *options.html_file, {}});
    if (options.worksheet_file)
        outputs.push_back({"--exercicio", *options.worksheet_file, {}});
    OutputTarget workload;
    const bool workload_known =
        !options.workload_text && resolve_output(options.file, workload) == 0 && workload.exists;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        NamedOutput& out = outputs[i];
        if (const int error = resolve_output(out.name, out.target)) {
            print_error(cannot_write(out.name, error));
            return exit_cannot_create;
        }
        if (workload_known && same_target(out.target, workload)) {
            print_error(
                format_text("o arquivo de saida \"%s\" e o proprio arquivo de carga", out.name));
            return exit_usage;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (same_target(out.target, outputs[j].target)) {
                print_error(format_text("%s e %s gravariam o mesmo arquivo (\"%s\" e \"%s\")",
                                        outputs[j].option, out.option, outputs[j].name, out.name));
                return exit_usage;
            }
        }
    }
    return exit_ok;
}

int write_named_output(const NamedOutput& out, std::string_view content) {
    const int error = write_output(out.target, content);
    if (error == 0)
        return exit_ok;
    if (out.target.kind == OutputTarget::Kind::standard_output) {
        print_error("erro ao escrever na saida padrao: " + system_error_text(error));
        return exit_write_failed;
    }
    print_error(cannot_write(out.name, error));
    return exit_cannot_create;
}

} // namespace

int run_report_mode(const Options& options) {
    set_out_of_memory_stream(stderr); // standard output holds the report only
    protect_temporary_files();
    std::vector<NamedOutput> outputs;
    if (const int status = resolve_outputs(options, outputs))
        return status;
    if (const auto failure = load_workload(options)) {
        return report_on_standard_error(*failure);
    }
    // The JSON and the HTML always give each event's reason; the text with --motivos.
    const bool reasons = options.json || options.html_file || options.reasons;
    const RunRecord run = run_report(options.file, options.until, nullptr, reasons);
    reset_scheduler();
    // --comparar: the same workload again under each rule set.
    std::vector<RunRecord> runs;
    if (!options.compare.empty()) {
        runs.push_back(run);
        for (const SchedulingRules& rules : options.compare) {
            Options other = options;
            other.rules = rules;
            if (const auto failure = load_workload(other)) { // it loaded once: it loads again
                std::fputs(failure->message.c_str(), stderr);
                return failure->status;
            }
            runs.push_back(run_report(options.file, options.until, nullptr, reasons));
            reset_scheduler();
        }
    }
    const bool comparing = !runs.empty();

    ChartOptions chart;
    chart.title = options.title;
    chart.from = options.from.value_or(0);
    for (const NamedOutput& out : outputs) {
        const std::string_view option = out.option;
        const std::string content =
            option == "--svg"
                ? (comparing ? comparison_svg(runs, true, chart) : svg_gantt(run, true, chart))
            : option == "--html"
                ? (comparing ? comparison_html(runs, chart) : html_report(run, chart))
                : worksheet_html(run);
        if (const int status = write_named_output(out, content))
            return status;
    }
    std::string out;
    if (options.text)
        out = comparing
                  ? comparison_text(runs, options.width.value_or(default_width()))
                  : text_report(run, options.width.value_or(default_width()), options.reasons);
    else if (options.json)
        out = comparing ? comparison_json(runs) : json_report(run);
    return write_standard_output(out);
}

} // namespace mlfq
