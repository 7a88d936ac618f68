#include "host/suggest.h"

#include <algorithm>
#include <cctype>

std::string lowerCase(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

int editDistance(const std::string& first, const std::string& second) {
    const std::string a = lowerCase(first), b = lowerCase(second);
    const size_t n = a.size(), m = b.size();
    // Three rows suffice: a swap of neighbours looks two rows back.
    std::vector<int> before(m + 1), previous(m + 1), current(m + 1);
    for (size_t j = 0; j <= m; ++j) previous[j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i) {
        current[0] = static_cast<int>(i);
        for (size_t j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[m];
}

std::vector<std::string> nearestNames(const std::string& typed, const std::vector<std::string>& known,
                                      size_t limit) {
    std::vector<std::pair<int, std::string>> near;
    for (const std::string& name : known) {
        const int distance = editDistance(typed, name);
        // A third of the shorter name, at least two: "rendr" finds "render", "x" finds nothing.
        const int allowed = std::max<int>(2, static_cast<int>(std::min(typed.size(), name.size()) / 3));
        if (distance <= allowed && static_cast<size_t>(distance) < std::max(typed.size(), name.size()))
            near.emplace_back(distance, name);
    }
    if (near.empty() && !typed.empty()) {
        const std::string part = lowerCase(typed);
        for (const std::string& name : known)
            if (lowerCase(name).find(part) != std::string::npos) near.emplace_back(0, name);
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<std::string> names;
    for (const auto& entry : near) {
        // Only the nearest: one name a single slip away says more than three further off.
        if (names.size() == limit || entry.first > near.front().first) break;
        if (std::find(names.begin(), names.end(), entry.second) == names.end()) names.push_back(entry.second);
    }
    return names;
}

std::string didYouMean(const std::string& typed, const std::vector<std::string>& known, const char* quote) {
    const std::vector<std::string> names = nearestNames(typed, known);
    if (names.empty()) return std::string();
    std::string text = "; did you mean ";
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
        text += quote + names[i] + quote;
    }
    return text + "?";
}
