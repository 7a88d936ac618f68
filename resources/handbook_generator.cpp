// Renders the handbook's text into a PDF with cairo.
//
//   nimbrel_handbook SOURCE.txt OUT.pdf [EDITOR.png]
//   nimbrel_handbook SOURCE.txt PAGE.png [EDITOR.png]   pages as PAGE-1.png ... for proofreading
//
// The source is plain text with a few line marks (see the head of
// handbook.txt); the parameter table comes from the plug-in's own parameter
// table and value texts, and the USER programs' description from the
// programs themselves, so the handbook says exactly what the host sees.
#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/parameters.h"
#include "host/program_summary.h"
#include "host/programs.h"
#include "host/parameter_units.h"

namespace {

// A4 in points.
constexpr double kPageWidth = 595.0, kPageHeight = 842.0;
constexpr double kMarginLeft = 64.0, kMarginRight = 64.0, kMarginTop = 70.0, kMarginBottom = 70.0;
constexpr double kTextWidth = kPageWidth - kMarginLeft - kMarginRight;
constexpr double kBodySize = 10.5, kBodyLeading = 15.0;
const char* const kFont = "DejaVu Sans";
const char* const kCodeFont = "DejaVu Sans Mono";

struct Writer {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    double y = kMarginTop;
    int page = 1;
    std::string chapter;
    std::string previewBase;  // set: pages go to PNG files instead of a PDF (for proofreading)

    void showPage() {
        if (previewBase.empty()) {
            cairo_show_page(cr);
            return;
        }
        cairo_surface_write_to_png(surface, (previewBase + "-" + std::to_string(page) + ".png").c_str());
        cairo_save(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_restore(cr);
    }

    void font(double size, bool bold = false, const char* face = kFont) {
        cairo_select_font_face(cr, face, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, size);
    }
    void grey(double g) { cairo_set_source_rgb(cr, g, g, g); }
    void accent() { cairo_set_source_rgb(cr, 0.10, 0.50, 0.58); }

    double width(const std::string& s) {
        cairo_text_extents_t te;
        cairo_text_extents(cr, s.c_str(), &te);
        return te.x_advance;
    }

    void footer() {
        font(8);
        grey(0.45);
        std::string left = "Nimbrel handbook";
        cairo_move_to(cr, kMarginLeft, kPageHeight - 36);
        cairo_show_text(cr, left.c_str());
        std::string number = std::to_string(page);
        cairo_move_to(cr, kPageWidth - kMarginRight - width(number), kPageHeight - 36);
        cairo_show_text(cr, number.c_str());
    }

    void newPage() {
        footer();
        showPage();
        ++page;
        y = kMarginTop;
    }

    // Makes room for `height` points, starting a page when it does not fit.
    void need(double height) {
        if (y + height > kPageHeight - kMarginBottom) newPage();
    }

    // Splits text into lines no wider than `limit` in the current font.
    std::vector<std::string> wrap(const std::string& text, double limit) {
        std::vector<std::string> lines;
        std::istringstream words(text);
        std::string word, line;
        while (words >> word) {
            std::string candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && width(candidate) > limit) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
        }
        if (!line.empty()) lines.push_back(line);
        return lines;
    }

    void lines(const std::vector<std::string>& ls, double x, double leading) {
        for (const std::string& l : ls) {
            need(leading);
            y += leading;
            cairo_move_to(cr, x, y - 4);
            cairo_show_text(cr, l.c_str());
        }
    }

    void chapterHeading(const std::string& text, bool first) {
        if (!first) newPage();
        chapter = text;
        font(first ? 34 : 22, true);
        grey(0.10);
        y += first ? 40 : 26;
        cairo_move_to(cr, kMarginLeft, y);
        cairo_show_text(cr, text.c_str());
        y += 10;
        accent();
        cairo_rectangle(cr, kMarginLeft, y, 48, 3);
        cairo_fill(cr);
        y += 18;
    }

    void sectionHeading(const std::string& text) {
        need(48);
        y += 14;
        font(13, true);
        accent();
        cairo_move_to(cr, kMarginLeft, y + 10);
        cairo_show_text(cr, text.c_str());
        y += 18;
    }

    void paragraph(const std::string& text) {
        font(kBodySize);
        grey(0.12);
        lines(wrap(text, kTextWidth), kMarginLeft, kBodyLeading);
        y += 7;
    }

    // A line to type, as it is typed: never wrapped, in a fixed-width font.
    void code(const std::string& text) {
        font(8.5, false, kCodeFont);
        need(12);
        y += 12;
        grey(0.25);
        cairo_move_to(cr, kMarginLeft + 16, y - 3);
        cairo_show_text(cr, text.c_str());
    }

    void bullet(const std::string& text) {
        font(kBodySize);
        std::vector<std::string> ls = wrap(text, kTextWidth - 16);
        need(kBodyLeading);
        accent();
        cairo_arc(cr, kMarginLeft + 4, y + kBodyLeading - 7.5, 2, 0, 6.2832);
        cairo_fill(cr);
        grey(0.12);
        lines(ls, kMarginLeft + 16, kBodyLeading);
        y += 3;
    }

    void definition(const std::string& term, const std::string& text) {
        const double termWidth = 112;
        font(kBodySize);
        std::vector<std::string> ls = wrap(text, kTextWidth - termWidth);
        need(kBodyLeading * static_cast<double>(std::min<size_t>(ls.size(), 3) + 1));
        font(9.5, true);
        grey(0.10);
        cairo_move_to(cr, kMarginLeft, y + kBodyLeading - 4);
        cairo_show_text(cr, term.c_str());
        // A term too wide for its column gets a line of its own.
        if (width(term) > termWidth - 8) y += kBodyLeading;
        font(kBodySize);
        grey(0.12);
        lines(ls, kMarginLeft + termWidth, kBodyLeading);
        y += 4;
    }

    void picture(const std::string& path) {
        if (path.empty()) return;
        cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "cannot read %s; the handbook goes without the picture\n", path.c_str());
            cairo_surface_destroy(image);
            return;
        }
        double w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
        double scale = kTextWidth / w;
        need(h * scale + 20);
        y += 8;
        cairo_save(cr);
        cairo_translate(cr, kMarginLeft, y);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(image);
        y += h * scale + 14;
    }

    // A box with a caption, centred on (cx, cy).
    void box(double cx, double cy, double w, const char* caption, bool engine) {
        const double h = 24;
        cairo_rectangle(cr, cx - w / 2, cy - h / 2, w, h);
        if (engine)
            cairo_set_source_rgb(cr, 0.86, 0.94, 0.96);
        else
            grey(0.95);
        cairo_fill_preserve(cr);
        if (engine)
            accent();
        else
            grey(0.55);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        font(7.5, true);
        grey(0.15);
        cairo_move_to(cr, cx - width(caption) / 2, cy + 3);
        cairo_show_text(cr, caption);
    }

    void arrow(double x0, double y0, double x1, double y1) {
        grey(0.35);
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_stroke(cr);
        const double dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
        if (len <= 0) return;
        const double ux = dx / len, uy = dy / len;
        cairo_move_to(cr, x1, y1);
        cairo_line_to(cr, x1 - 6 * ux - 3 * uy, y1 - 6 * uy + 3 * ux);
        cairo_line_to(cr, x1 - 6 * ux + 3 * uy, y1 - 6 * uy - 3 * ux);
        cairo_close_path(cr);
        cairo_fill(cr);
    }

    // The two ways the engines are joined, and what follows them.
    void routingDiagram() {
        need(210);
        y += 8;
        const double left = kMarginLeft;
        font(9, true);
        accent();
        cairo_move_to(cr, left, y + 12);
        cairo_show_text(cr, "SERIAL");
        double row = y + 36;
        box(left + 24, row, 40, "IN", false);
        box(left + 110, row, 80, "REVERB", true);
        box(left + 220, row, 80, "MULTITAP", true);
        box(left + 330, row, 80, "WET SIGNAL", false);
        arrow(left + 44, row, left + 70, row);
        arrow(left + 150, row, left + 180, row);
        arrow(left + 260, row, left + 290, row);

        font(9, true);
        accent();
        cairo_move_to(cr, left, row + 34);
        cairo_show_text(cr, "PARALLEL");
        const double top = row + 60, bottom = row + 92, mid = (top + bottom) / 2;
        box(left + 24, mid, 40, "IN", false);
        box(left + 160, top, 80, "REVERB", true);
        box(left + 160, bottom, 80, "MULTITAP", true);
        box(left + 330, mid, 80, "WET SIGNAL", false);
        arrow(left + 44, mid, left + 120, top);
        arrow(left + 44, mid, left + 120, bottom);
        arrow(left + 200, top, left + 290, mid);
        arrow(left + 200, bottom, left + 290, mid);

        const double chain = bottom + 46;
        const char* stages[] = {"WET SIGNAL", "SURROUND", "GATE", "DUCKER", "+ DRY", "VOLUME", "OUT"};
        for (int i = 0; i < 7; ++i) {
            box(left + 30 + i * 66, chain, 58, stages[i], i >= 1 && i <= 3);
            if (i > 0) arrow(left + 59 + (i - 1) * 66, chain, left + 1 + i * 66, chain);
        }
        y = chain + 26;
    }

    // Each control's range in its units, from the value texts themselves; the
    // reverb decay also roughly in seconds, as the program list estimates it.
    void parameterTable() {
        const double columns[] = {kMarginLeft, kMarginLeft + 22, kMarginLeft + 78, kMarginLeft + 218};
        const double rangeWidth = kMarginLeft + kTextWidth - columns[3];
        auto row = [&](const std::string& a, const std::string& b, const std::string& c, const std::string& d,
                       bool head) {
            font(8.5, head);
            const std::vector<std::string> range = wrap(d, rangeWidth);
            need(13.0 * static_cast<double>(std::max<size_t>(1, range.size())));
            y += 13;
            grey(head ? 0.35 : 0.12);
            const std::string cells[] = {a, b, c};
            for (int i = 0; i < 3; ++i) {
                cairo_move_to(cr, columns[i], y - 3);
                cairo_show_text(cr, cells[i].c_str());
            }
            for (size_t i = 0; i < range.size(); ++i) {
                if (i > 0) y += 13;
                cairo_move_to(cr, columns[3], y - 3);
                cairo_show_text(cr, range[i].c_str());
            }
        };
        row("#", "Name", "Meaning", "Range", true);
        for (int i = 0; i < kNumNamedParams; ++i) {
            std::string range = parameterRangeText(i);
            if (i == param::RDecay) range += "; " + decaySeconds();
            row(std::to_string(i), ParameterNameTab[i].shortName, ParameterNameTab[i].longName, range, false);
        }
        y += 8;
    }

    static std::string decaySeconds() {
        const float size = kParameterInit.v[param::RSize];
        char sizeText[32];
        parameterDisplayText(param::RSize, size, sizeText, sizeof sizeText);
        std::string text = "a tail of about";
        for (float decay : {0.2f, 0.5f, 0.8f, 0.95f}) {
            const double seconds = estimatedReverbDecaySeconds(size, decay);
            char part[48];
            std::snprintf(part, sizeof part, seconds < 10.0 ? " %.1f s at %.0f%%," : " %.0f s at %.0f%%,", seconds,
                          100.0 * static_cast<double>(decay));
            text += part;
        }
        return text + " endless at 100% (room size " + sizeText + " m)";
    }

    // What the USER programs hold, from the programs themselves.
    void userPrograms() {
        std::vector<std::string> names;
        for (const FactoryPreset& p : factoryPresets) {
            const std::string name(p.name, strnlen(p.name, sizeof p.name));
            if (name.rfind("USER", 0) == 0) names.push_back(name);
        }
        if (names.empty()) return;
        auto shown = [](int index) {
            char text[32];
            parameterDisplayText(index, kParameterInit.v[index], text, sizeof text);
            return std::string(ParameterNameTab[index].shortName) + " " + text;
        };
        definition("USER", std::to_string(names.size()) + " programs, " + names.front() + " to " + names.back() +
                               ", for your own settings. They hold the init values (" + shown(param::Mix) + ", " +
                               shown(param::Volume) + "; in the words of the program list: " +
                               describeProgram(kParameterInit.v) + ").");
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s SOURCE.txt OUT.pdf [EDITOR.png]\n", argv[0]);
        return 2;
    }
    std::ifstream source(argv[1]);
    if (!source) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string picturePath = argc == 4 ? argv[3] : "";

    Writer w;
    const std::string out = argv[2];
    if (out.size() > 4 && out.compare(out.size() - 4, 4, ".png") == 0) {
        w.previewBase = out.substr(0, out.size() - 4);
        w.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(kPageWidth), static_cast<int>(kPageHeight));
    } else {
        w.surface = cairo_pdf_surface_create(argv[2], kPageWidth, kPageHeight);
        cairo_pdf_surface_set_metadata(w.surface, CAIRO_PDF_METADATA_TITLE, "Nimbrel handbook");
        cairo_pdf_surface_set_metadata(w.surface, CAIRO_PDF_METADATA_AUTHOR, "orvane.example");
    }
    w.cr = cairo_create(w.surface);
    if (!w.previewBase.empty()) {
        cairo_set_source_rgb(w.cr, 1, 1, 1);
        cairo_paint(w.cr);
    }

    std::string line, para;
    bool firstChapter = true;
    auto flush = [&] {
        if (!para.empty()) w.paragraph(para);
        para.clear();
    };
    while (std::getline(source, line)) {
        if (!line.empty() && line[0] == '%') continue;
        if (line.empty()) {
            flush();
        } else if (line.rfind("# ", 0) == 0) {
            flush();
            w.chapterHeading(line.substr(2), firstChapter);
            firstChapter = false;
        } else if (line.rfind("## ", 0) == 0) {
            flush();
            w.sectionHeading(line.substr(3));
        } else if (line.rfind("- ", 0) == 0) {
            flush();
            w.bullet(line.substr(2));
        } else if (line == "@picture") {
            flush();
            w.picture(picturePath);
        } else if (line == "@routing") {
            flush();
            w.routingDiagram();
        } else if (line == "@parameters") {
            flush();
            w.parameterTable();
        } else if (line == "@user-programs") {
            flush();
            w.userPrograms();
        } else if (line.rfind("    ", 0) == 0) {
            flush();
            w.code(line.substr(4));
        } else if (line.find(" :: ") != std::string::npos) {
            flush();
            size_t at = line.find(" :: ");
            w.definition(line.substr(0, at), line.substr(at + 4));
        } else {
            para += (para.empty() ? "" : " ") + line;
        }
    }
    flush();
    w.footer();
    w.showPage();
    cairo_status_t status = cairo_status(w.cr);
    cairo_destroy(w.cr);
    cairo_surface_finish(w.surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(w.surface);
    cairo_surface_destroy(w.surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[2], cairo_status_to_string(status));
        return 1;
    }
    return 0;
}
