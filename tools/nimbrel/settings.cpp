#include "tools/nimbrel/settings.h"

#include <cstdlib>
#include <strings.h>
#include <vector>

#include "host/parameter_units.h"
#include "host/suggest.h"

namespace {

bool parseWhole(const std::string& text, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return end && *end == 0;
}

// Finds `name` among `names`, exactly first and then without regard to case; -1 if neither.
int findName(const std::vector<std::string>& names, const std::string& name) {
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < names.size(); ++i)
            if (pass == 0 ? names[i] == name : strcasecmp(names[i].c_str(), name.c_str()) == 0)
                return static_cast<int>(i);
    return -1;
}

}  // namespace

std::vector<std::string> programNames(PluginHost& host) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < host.effect()->numPrograms; ++i) names.push_back(host.programNameIndexed(i));
    return names;
}

bool selectProgram(PluginHost& host, const std::string& which, std::string& error) {
    const int32_t count = host.effect()->numPrograms;
    long number = 0;
    if (parseWhole(which, number)) {
        if (number < 0 || number >= count) {
            error = "program " + which + " does not exist (0.." + std::to_string(count - 1) + ")";
            return false;
        }
        host.setProgram(static_cast<int32_t>(number));
        return true;
    }
    const std::vector<std::string> names = programNames(host);
    const int found = findName(names, which);
    if (found < 0) {
        error = "no program is named \"" + which + "\"" + didYouMean(which, names) + " (nimbrel programs lists them)";
        return false;
    }
    host.setProgram(found);
    return true;
}

bool applyParameter(PluginHost& host, const std::string& assignment, int& index, float& value,
                    std::string& error) {
    size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0) {
        error = "--param wants NAME=VALUE (for example Mix=60% or RDecay=0.8), got \"" + assignment + "\"";
        return false;
    }
    const std::string name = assignment.substr(0, equals);
    const std::string text = assignment.substr(equals + 1);
    // Reserved slots share one name and do nothing: they are not offered.
    std::vector<std::string> names;
    std::vector<int32_t> indices;
    for (int32_t i = 0; i < host.effect()->numParams; ++i) {
        if (!host.dispatch(effCanBeAutomated, i)) continue;
        names.push_back(host.parameterName(i));
        indices.push_back(i);
    }
    const int found = findName(names, name);
    if (found < 0) {
        error = "no parameter is named \"" + name + "\"" + didYouMean(name, names) + " (nimbrel info lists them)";
        return false;
    }
    index = indices[static_cast<size_t>(found)];
    if (!parameterValueFromText(index, text, value, error)) return false;
    host.setParameter(index, value);
    return true;
}
