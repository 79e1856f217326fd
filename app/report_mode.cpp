#include "app/modes.h"
#include "app/output_file.h"
#include "app/workload_loading.h"
#include "model/record_memory.h"
#include "model/simulation.h"
#include "report/html_report.h"
#include "report/json_report.h"
#include "report/report_run.h"
#include "report/svg_gantt.h"
#include "report/text_report.h"
#include "util/exit_status.h"
#include "util/system_error.h"
#include "util/text_format.h"
#include "util/write_all.h"

#include <cstdio>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool same_file(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

int write_output_file(const std::string& path, const std::string& content) {
    if (const int error = write_file_atomically(path, content)) {
        print_error(
            format_text("nao foi possivel gravar \"%s\": %s", path, system_error_text(error)));
        return exit_cannot_create;
    }
    return exit_ok;
}

} // namespace

int run_report_mode(const Options& options) {
    set_out_of_memory_stream(stderr); // standard output holds the report only
    for (const auto& output : {options.svg_file, options.html_file}) {
        if (output && same_file(*output, options.file)) {
            print_error(
                format_text("o arquivo de saida \"%s\" e o proprio arquivo de carga", *output));
            return exit_usage;
        }
    }
    if (const auto failure = load_simulation(options.file, options.rules)) {
        std::fputs(failure->message.c_str(), stderr);
        if (!failure->message.ends_with('\n'))
            std::fputc('\n', stderr);
        if (!failure->reason.empty())
            print_error(failure->reason);
        return failure->status;
    }
    const RunRecord run = run_report(options.file, options.until);
    tear_down_simulation();

    if (options.svg_file) {
        if (const int status = write_output_file(*options.svg_file, svg_gantt(run, true)))
            return status;
    }
    if (options.html_file) {
        if (const int status = write_output_file(*options.html_file, html_report(run)))
            return status;
    }
    std::string out;
    if (options.text)
        out = text_report(run, options.width.value_or(default_width()));
    else if (options.json)
        out = json_report(run);
    return write_standard_output(out);
}

} // namespace mlfq
