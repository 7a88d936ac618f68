#include "host/parameter_units.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "host/parameters.h"
#include "host/suggest.h"

namespace {

// The search grid: every value of 0..1 with five decimals. Fine enough that
// each text a parameter shows has grid values (the steepest, RHiCut, moves
// about 0.3 Hz per step near the top), coarse enough to search in a blink.
constexpr int kSteps = 100000;
// Parameters with no more distinct texts than this are choices, not scales:
// a value must name one of them.
constexpr size_t kMaxChoices = 32;

struct Unit {
    const char* spelling;  // lower case, as typed or shown
    const char* unit;      // the unit it is counted in
    double factor;         // how many of those one of it is
};
const Unit kUnits[] = {{"%", "%", 1.0},       {"db", "dB", 1.0},   {"hz", "Hz", 1.0},
                       {"khz", "Hz", 1000.0}, {"s", "s", 1.0},     {"ms", "s", 0.001},
                       {"m", "m", 1.0},       {"beats", "beats", 1.0}, {"beat", "beats", 1.0}};

std::string trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Lower case without spaces: "No Duck" and "noduck" name the same word.
std::string squeezed(const std::string& s) {
    std::string out;
    for (char c : lowerCase(s))
        if (c != ' ') out += c;
    return out;
}

const Unit* findUnit(const std::string& spelling) {
    const std::string key = lowerCase(trim(spelling));
    for (const Unit& u : kUnits)
        if (key == u.spelling) return &u;
    return nullptr;
}

// A number as texts and people write it: "12.5", "-20", "3/16". `used` gets
// the characters read, `decimals` the digits after the point.
bool readNumber(const std::string& s, double& number, size_t& used, int& decimals) {
    const char* start = s.c_str();
    char* end = nullptr;
    number = std::strtod(start, &end);
    if (end == start) return false;
    const char* point = std::find(start, static_cast<const char*>(end), '.');
    decimals = point < end ? static_cast<int>(end - point - 1) : 0;
    if (*end == '/') {
        char* denominatorEnd = nullptr;
        const double denominator = std::strtod(end + 1, &denominatorEnd);
        if (denominatorEnd == end + 1 || denominator == 0.0) return false;
        number /= denominator;
        end = denominatorEnd;
        decimals = 6;  // a fraction names its value exactly
    }
    used = static_cast<size_t>(end - start);
    return std::isfinite(number);
}

// One number a value text shows, in the unit it counts.
struct Reading {
    double number;     // in `unit`
    std::string unit;  // "%", "dB", "Hz", "s", "m", "beats"; "" for none
    double tolerance;  // half the last digit shown, in `unit`
    bool fromLabel;    // the unit is the parameter's label, not written in the text
    std::string shown; // the number as the text shows it
    std::string shownUnit;  // the unit as the text or label writes it
};

// Neighbouring grid values that show one text.
struct Run {
    int first, last;  // grid steps
    std::string text;
    std::vector<Reading> readings;  // empty when the text is a word
};

// The readings of one text: "40% 7.6" with the label "kHz" is 40 % and
// 7600 Hz; "-20.0 dB" is -20 dB; "30" with the label "m" is 30 m.
std::vector<Reading> readingsOf(const std::string& text, const std::string& label) {
    std::vector<std::string> tokens;
    for (size_t at = 0; at < text.size();) {
        const size_t space = text.find(' ', at);
        const size_t end = space == std::string::npos ? text.size() : space;
        if (end > at) tokens.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    std::vector<Reading> readings;
    for (size_t i = 0; i < tokens.size(); ++i) {
        double number = 0.0;
        size_t used = 0;
        int decimals = 0;
        if (!readNumber(tokens[i], number, used, decimals)) return {};  // a word
        const std::string shown = tokens[i].substr(0, used);
        std::string unitText = tokens[i].substr(used);
        bool fromLabel = false;
        if (unitText.empty() && i + 1 < tokens.size() && findUnit(tokens[i + 1])) unitText = tokens[++i];
        if (unitText.empty()) {
            unitText = label;
            fromLabel = true;
        }
        const Unit* unit = findUnit(unitText);
        if (!unit && !unitText.empty()) return {};
        const double factor = unit ? unit->factor : 1.0;
        readings.push_back({number * factor, unit ? unit->unit : "", 0.5 * std::pow(10.0, -decimals) * factor,
                            fromLabel, shown, unitText});
    }
    return readings;
}

float gridValue(int k) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.5f", static_cast<double>(k) / kSteps);
    return std::strtof(digits, nullptr);
}

struct Table {
    std::string name, label;
    std::vector<Run> runs;           // in the order of their values
    std::vector<std::string> texts;  // the distinct texts, in the order of their values (while few)
    bool choices;
};

// A parameter's texts over the whole grid, made once per parameter and run.
const Table& tableOf(int index) {
    static std::mutex guard;
    static std::unique_ptr<Table> tables[kNumNamedParams];
    std::lock_guard<std::mutex> lock(guard);
    std::unique_ptr<Table>& t = tables[index];
    if (t) return *t;
    t = std::make_unique<Table>();
    t->name = ParameterNameTab[index].shortName;
    t->label = ParameterNameTab[index].label;
    for (int k = 0; k <= kSteps; ++k) {
        char text[64];
        parameterDisplayText(index, gridValue(k), text, sizeof text);
        if (!t->runs.empty() && t->runs.back().text == text) {
            t->runs.back().last = k;
            continue;
        }
        t->runs.push_back({k, k, text, readingsOf(text, t->label)});
        if (t->texts.size() <= kMaxChoices && std::find(t->texts.begin(), t->texts.end(), text) == t->texts.end())
            t->texts.push_back(text);
    }
    t->choices = t->texts.size() <= kMaxChoices;
    return *t;
}

// Of the grid values in `runs`, which all show what was asked: the one written
// with the fewest decimals (60% is 0.6, not 0.59996), then the one nearest the
// middle of them all.
float simplest(const std::vector<const Run*>& runs) {
    const double middle = 0.5 * (runs.front()->first + runs.back()->last);
    for (int step = kSteps; step >= 1; step /= 10) {
        int best = -1;
        for (const Run* r : runs) {
            // The multiple of `step` in this run nearest the middle, if it has one.
            const double target = std::clamp(middle, static_cast<double>(r->first), static_cast<double>(r->last));
            int k = static_cast<int>(std::lround(target / step)) * step;
            if (k < r->first) k += step;
            if (k > r->last) k -= step;
            if (k < r->first || k > r->last) continue;
            if (best < 0 || std::fabs(k - middle) < std::fabs(best - middle)) best = k;
        }
        if (best >= 0) return gridValue(best);
    }
    return gridValue(runs.front()->first);
}

std::string joined(const std::vector<std::string>& parts, const char* last) {
    std::string s;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) s += i + 1 == parts.size() ? last : ", ";
        s += parts[i];
    }
    return s;
}

std::string rangeOf(const Table& t) {
    if (t.choices) return joined(t.texts, " or ") + (t.label.empty() ? "" : " " + t.label);
    // Per unit, the first and the last number shown, in the order of the
    // values; the words where they come.
    std::vector<std::string> parts;
    std::map<std::string, std::pair<const Reading*, const Reading*>> spans;  // by unit as shown
    std::vector<std::string> order;
    for (const Run& run : t.runs) {
        if (run.readings.empty()) {
            if (std::find(order.begin(), order.end(), "=" + run.text) == order.end()) order.push_back("=" + run.text);
            continue;
        }
        for (const Reading& r : run.readings) {
            auto found = spans.find(r.shownUnit);
            if (found == spans.end()) {
                spans[r.shownUnit] = {&r, &r};
                order.push_back(r.shownUnit);
            } else {
                found->second.second = &r;
            }
        }
    }
    for (const std::string& key : order) {
        if (key[0] == '=') {
            parts.push_back(key.substr(1));
            continue;
        }
        const Reading& first = *spans[key].first;
        const Reading& last = *spans[key].second;
        const bool attached = key == "%";
        parts.push_back(attached ? first.shown + key + " .. " + last.shown + key
                                 : first.shown + " .. " + last.shown + (key.empty() ? "" : " " + key));
    }
    return joined(parts, ", ");
}

std::string possible(const Table& t) {
    return t.name + " takes " + rangeOf(t) + (t.choices ? "" : " (or a plain value 0..1)");
}

}  // namespace

std::string parameterRangeText(int index) {
    if (index < 0 || index >= kNumNamedParams) return std::string();
    return rangeOf(tableOf(index));
}

bool parameterValueFromText(int index, const std::string& typed, float& value, std::string& error) {
    if (index < 0 || index >= kNumNamedParams) {
        error = "no such parameter";
        return false;
    }
    const std::string text = trim(typed);
    const std::string name = ParameterNameTab[index].shortName;
    // A plain number from 0 to 1 is the value as the host sends it, read as before.
    {
        char* end = nullptr;
        const float plain = std::strtof(text.c_str(), &end);
        if (!text.empty() && end && *end == 0 && plain >= 0.0f && plain <= 1.0f) {
            value = plain;
            return true;
        }
    }
    const Table& t = tableOf(index);

    // A text the parameter shows, as it shows it (the unit of the label may follow).
    const std::string wanted = squeezed(text);
    std::vector<const Run*> same;
    for (const Run& run : t.runs)
        if (squeezed(run.text) == wanted || squeezed(run.text + t.label) == wanted) same.push_back(&run);
    if (!same.empty()) {
        value = simplest(same);
        return true;
    }

    double number = 0.0;
    size_t used = 0;
    int decimals = 0;
    if (text.empty() || !readNumber(text, number, used, decimals)) {
        std::vector<std::string> words;
        for (const Run& run : t.runs)
            if (run.readings.empty() && std::find(words.begin(), words.end(), run.text) == words.end())
                words.push_back(run.text);
        error = name + "=" + typed + " is not a value of " + name + "; " + possible(t) +
                didYouMean(text, t.choices ? t.texts : words);
        return false;
    }
    const std::string unitText = trim(text.substr(used));
    const Unit* unit = findUnit(unitText);
    if (!unitText.empty() && !unit) {
        error = "\"" + unitText + "\" is not a unit nimbrel knows (%, dB, Hz, kHz, ms, s, m, beats); " + possible(t);
        return false;
    }
    const bool bare = unitText.empty();
    // A plain number counts in the label's unit: RPredel=50 is 50 ms.
    if (const Unit* counted = bare ? findUnit(t.label) : unit) number *= counted->factor;

    // The grid values whose text shows a number in the unit asked for
    // (a plain number: in the unit of the label), nearest first.
    double nearest = INFINITY, low = INFINITY, high = -INFINITY, tolerance = 0.0;
    std::vector<const Run*> best;
    for (const Run& run : t.runs) {
        for (const Reading& r : run.readings) {
            if (bare ? !r.fromLabel : r.unit != unit->unit) continue;
            low = std::min(low, r.number);
            high = std::max(high, r.number);
            tolerance = std::max(tolerance, r.tolerance);
            const double distance = std::fabs(r.number - number);
            if (distance < nearest) {
                nearest = distance;
                best.clear();
            }
            if (distance == nearest && (best.empty() || best.back() != &run)) best.push_back(&run);
        }
    }
    if (best.empty()) {
        error = bare ? name + "=" + typed + " needs a unit, or a plain value from 0 to 1; " + possible(t)
                     : name + " is not counted in " + unitText + "; " + possible(t);
        return false;
    }
    const bool outside = number < low - tolerance || number > high + tolerance;
    // A choice must be named exactly: 5/16 is no note value, not "about 1/3".
    const bool notAChoice = t.choices && nearest > 1e-9 + 1e-6 * std::fabs(number);
    if (outside || notAChoice) {
        error = name + "=" + typed + " is out of reach; " + possible(t);
        return false;
    }
    value = simplest(best);
    return true;
}
