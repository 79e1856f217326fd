#include "report/svg_gantt.h"

#include "report/report_texts.h"
#include "util/byte_text.h"
#include "util/text_format.h"

#include <algorithm>
#include <cstdio>

namespace mlfq {

namespace {

constexpr const char* palette[] = {"#0072B2", "#E69F00", "#009E73", "#CC79A7",
                                   "#56B4E9", "#D55E00", "#F0E442", "#000000"};
constexpr const char* ready_colour = "#D9D9D9";
constexpr const char* ink = "#222222";

// Geometry, in pixels.
constexpr double char_width = 7.2; // of the 12 px sans-serif text, generously
constexpr double row_height = 26;
constexpr double bar_height = 16;
constexpr double top = 48;
constexpr double max_plot_width = 1100;
constexpr double max_step_width = 18;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s;
}

struct Layout {
    std::int64_t from = 0; // the window of steps drawn, [from, to)
    std::int64_t to = 0;
    double left = 0;  // where step `from` is
    double scale = 0; // pixels per step
    double plot_width = 0;
    double width = 0;
    double axis_y = 0;
    double height = 0;
    std::int64_t tick = 1; // steps between two labels of the axis

    double x(std::int64_t step) const { return left + static_cast<double>(step - from) * scale; }
    bool shows(std::int64_t step) const { return step >= from && step <= to; }
    double row_y(std::size_t row) const { return top + static_cast<double>(row) * row_height; }
};

// Steps between labels: 1, 2, 5, 10, 20, 50, ... so that the widest label fits with room
// to spare; labels therefore never overlap.
std::int64_t tick_spacing(std::int64_t steps, double scale) {
    const double label = static_cast<double>(format_text("%d", steps).size()) * char_width + 10;
    for (std::int64_t base = 1;; base *= 10) {
        for (std::int64_t m : {1, 2, 5}) {
            if (static_cast<double>(base * m) * scale >= label || base * m >= steps)
                return base * m;
        }
        if (base > steps)
            return base;
    }
}

Layout layout_for(const RunRecord& run, const ChartOptions& options) {
    Layout l;
    l.to = std::max(options.to.value_or(run.total_time), options.from + 1);
    l.from = std::min(options.from, l.to - 1);
    std::size_t name_chars = 4;
    for (const ProcessRecord& p : run.processes)
        name_chars = std::max(name_chars, utf8_length(p.utf8_name));
    l.left = static_cast<double>(name_chars) * char_width + 20;
    const std::int64_t steps = std::max<std::int64_t>(l.to - l.from, 1);
    l.scale = std::min(max_step_width, max_plot_width / static_cast<double>(steps));
    l.plot_width = l.scale * static_cast<double>(steps);
    // Wide enough for the rules' line under the title, too (12 px text, about 6.2 px a
    // character).
    const double subtitle =
        static_cast<double>(utf8_length("Regras: " + rules_summary(run, true)) + 24) * 6.2 + 20;
    l.width = std::max({l.left + l.plot_width + 30, 640.0, subtitle});
    l.axis_y = l.row_y(run.processes.size()) + 4;
    // The axis, then the legend: the queues four to a line, and one line more.
    const int queue_lines = (run.rules.queues + 3) / 4;
    l.height = l.axis_y + 30 + 24.0 * (queue_lines + 1) + 22;
    l.tick = tick_spacing(steps, l.scale);
    return l;
}

// Where each process started an I/O phase, by its row: a mark at the start, so that a phase
// that starts and ends within one step (and has no segment of its own) is seen too.
std::vector<std::vector<std::int64_t>> io_starts(const RunRecord& run) {
    std::vector<std::vector<std::int64_t>> starts(run.processes.size());
    for (const EventRecord& e : run.events) {
        if (e.kind == EventKind::io_start && e.process >= 0)
            starts[static_cast<std::size_t>(e.process)].push_back(
                run.rules.textbook ? e.clock : e.clock + 1); // the end of the step that starts it
    }
    return starts;
}

void append_rows(std::string& out, const RunRecord& run, const Layout& l) {
    const auto starts = io_starts(run);
    for (std::size_t row = 0; row < run.processes.size(); ++row) {
        const ProcessRecord& p = run.processes[row];
        const double y = l.row_y(row);
        const double middle = y + row_height / 2;
        out += format_text("<g class=\"processo\"><text x=\"%s\" y=\"%s\" text-anchor=\"end\" "
                           "dominant-baseline=\"central\">%s</text>\n",
                           number(l.left - 8), number(middle), xml_text(p.name));
        for (const Segment& whole : p.timeline) {
            if (whole.to <= l.from || whole.from >= l.to)
                continue;
            const Segment s{std::max(whole.from, l.from), std::min(whole.to, l.to), whole.state};
            const double x = l.x(s.from), w = l.x(s.to) - x;
            if (s.state == state_ready) {
                out += format_text("<rect x=\"%s\" y=\"%s\" width=\"%s\" height=\"6\" "
                                   "fill=\"%s\"/>\n",
                                   number(x), number(middle - 3), number(w), ready_colour);
            } else {
                const std::string fill = s.state == state_io
                                             ? std::string("url(#io)")
                                             : std::string(queue_colour(s.state - '0'));
                out += format_text("<rect x=\"%s\" y=\"%s\" width=\"%s\" height=\"%s\" "
                                   "fill=\"%s\"/>\n",
                                   number(x), number(middle - bar_height / 2), number(w),
                                   number(bar_height), fill);
            }
        }
        for (std::int64_t at : starts[row]) {
            if (!l.shows(at))
                continue;
            out +=
                format_text("<rect class=\"inicio-io\" x=\"%s\" y=\"%s\" width=\"4\" height=\"6\" "
                            "fill=\"url(#io)\" stroke=\"%s\" stroke-width=\"0.8\"/>\n",
                            number(l.x(at) - 2), number(middle + bar_height / 2 + 1), ink);
        }
        if (p.arrival <= run.total_time && l.shows(p.arrival)) { // arrival: a triangle above
            const double x = l.x(p.arrival);
            out += format_text("<path class=\"chegada\" d=\"M%s %s l-4 -6 h8 z\" "
                               "fill=\"%s\"/>\n",
                               number(x), number(middle - bar_height / 2), ink);
        }
        // Termination: a bar where its last step ends (under textbook timing `end` is
        // already the end of that unit).
        const std::int64_t end_x = p.end ? *p.end + (run.rules.textbook ? 0 : 1) : 0;
        if (p.end && l.shows(end_x)) {
            const double x = l.x(end_x);
            out += format_text("<rect class=\"termino\" x=\"%s\" y=\"%s\" width=\"2\" "
                               "height=\"%s\" fill=\"%s\"/>\n",
                               number(x - 1), number(middle - bar_height / 2 - 3),
                               number(bar_height + 6), ink);
        }
        out += "</g>\n";
    }
}

void append_axis(std::string& out, const Layout& l) {
    out += format_text("<line x1=\"%s\" y1=\"%s\" x2=\"%s\" y2=\"%s\" stroke=\"%s\"/>\n",
                       number(l.left), number(l.axis_y), number(l.left + l.plot_width),
                       number(l.axis_y), ink);
    for (std::int64_t t = l.from; t <= l.to; t += l.tick) {
        out += format_text("<line x1=\"%s\" y1=\"%s\" x2=\"%s\" y2=\"%s\" stroke=\"%s\"/>"
                           "<text x=\"%s\" y=\"%s\" text-anchor=\"middle\">%d</text>\n",
                           number(l.x(t)), number(l.axis_y), number(l.x(t)), number(l.axis_y + 5),
                           ink, number(l.x(t)), number(l.axis_y + 18), t);
    }
}

void append_legend(std::string& out, const Layout& l, int queues) {
    double x = 10;
    double y = l.axis_y + 40;
    const auto item = [&](const std::string& swatch, const char* label) {
        out += swatch;
        out += format_text("<text x=\"%s\" y=\"%s\" dominant-baseline=\"central\">%s</text>\n",
                           number(x + 20), number(y), label);
        x += 20 + static_cast<double>(std::string_view(label).size()) * char_width + 18;
    };
    for (int q = 1; q <= queues; ++q) {
        if (q > 1 && q % 4 == 1) { // four queues to a line, so that narrow charts hold them
            x = 10;
            y += 24;
        }
        const std::string label = format_text("CPU, fila %d", q);
        out += format_text("<rect x=\"%s\" y=\"%s\" width=\"14\" height=\"14\" fill=\"%s\"/>",
                           number(x), number(y - 7), queue_colour(q));
        out += format_text("<text x=\"%s\" y=\"%s\" dominant-baseline=\"central\">%s</text>\n",
                           number(x + 20), number(y), label);
        x += 20 + static_cast<double>(label.size()) * char_width + 18;
    }
    x = 10;
    y += 24;
    item(format_text("<rect x=\"%s\" y=\"%s\" width=\"14\" height=\"14\" fill=\"url(#io)\"/>",
                     number(x), number(y - 7)),
         "em IO");
    item(format_text("<rect x=\"%s\" y=\"%s\" width=\"4\" height=\"6\" fill=\"url(#io)\" "
                     "stroke=\"%s\" stroke-width=\"0.8\"/>",
                     number(x + 5), number(y - 3), ink),
         "início de IO");
    item(format_text("<rect x=\"%s\" y=\"%s\" width=\"14\" height=\"6\" fill=\"%s\"/>", number(x),
                     number(y - 3), ready_colour),
         "pronto, esperando");
    item(format_text("<path d=\"M%s %s l-4 -6 h8 z\" fill=\"%s\"/>", number(x + 7), number(y + 3),
                     ink),
         "chegada");
    item(format_text("<rect x=\"%s\" y=\"%s\" width=\"2\" height=\"16\" fill=\"%s\"/>",
                     number(x + 6), number(y - 8), ink),
         "término");
}

} // namespace

PictureSize svg_gantt_size(const RunRecord& run, const ChartOptions& options) {
    const Layout l = layout_for(run, options);
    return {l.width, l.height};
}

const char* queue_colour(int queue) {
    return palette[std::clamp(queue, 1, 8) - 1];
}

std::string xml_text(std::string_view bytes) {
    std::string out;
    for (char c : to_utf8(bytes)) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string svg_gantt(const RunRecord& run, bool standalone, const ChartOptions& options) {
    const Layout l = layout_for(run, options);
    std::string out;
    if (standalone)
        out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += format_text("<svg %swidth=\"%s\" height=\"%s\" viewBox=\"0 0 %s %s\" "
                       "font-family=\"DejaVu Sans, Verdana, sans-serif\" font-size=\"12\" "
                       "role=\"img\">\n",
                       standalone ? "xmlns=\"http://www.w3.org/2000/svg\" " : "", number(l.width),
                       number(l.height), number(l.width), number(l.height));
    std::string title = options.title ? *options.title : picture_heading(run);
    std::string subtitle = "Regras: " + rules_summary(run, true);
    if (l.from > 0 || l.to < run.total_time)
        subtitle += format_text(" (tempos %d a %d de %d)", l.from, l.to, run.total_time);
    out += format_text("<title>%s</title>\n", xml_text(title));
    out += "<defs><pattern id=\"io\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\" "
           "patternTransform=\"rotate(45)\"><rect width=\"6\" height=\"6\" fill=\"#FFFFFF\"/>"
           "<rect width=\"3\" height=\"6\" fill=\"#555555\"/></pattern></defs>\n";
    out += format_text("<rect width=\"100%%\" height=\"100%%\" fill=\"#FFFFFF\"/>\n"
                       "<text x=\"10\" y=\"20\" font-size=\"15\" font-weight=\"bold\">%s</text>\n"
                       "<text x=\"10\" y=\"36\">%s</text>\n",
                       xml_text(title), xml_text(subtitle));
    append_rows(out, run, l);
    append_axis(out, l);
    append_legend(out, l, run.rules.queues);
    if (const std::string stop = stop_sentence(run); !stop.empty())
        out += format_text("<text x=\"10\" y=\"%s\">%s</text>\n", number(l.height - 8),
                           xml_text(stop));
    out += "</svg>\n";
    return out;
}

} // namespace mlfq
