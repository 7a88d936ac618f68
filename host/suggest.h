#pragma once
// "Did you mean ...": the known names nearest to a mistyped one.
#include <string>
#include <vector>

// `text` in lower case (ASCII), for comparing names without regard to case.
std::string lowerCase(const std::string& text);

// Edits (insert, delete, replace, swap two neighbours) between two names,
// ignoring case.
int editDistance(const std::string& a, const std::string& b);

// The names nearest to `typed`, at most `limit`: those the fewest edits away,
// if that is only a few (more for longer names); failing those, names that
// contain it.
std::vector<std::string> nearestNames(const std::string& typed, const std::vector<std::string>& known,
                                      size_t limit = 3);

// " (did you mean \"x\"?)"-style text for an error message: "" when nothing is
// near, else "; did you mean X?" or "; did you mean X or Y?", each name in `quote`.
std::string didYouMean(const std::string& typed, const std::vector<std::string>& known,
                       const char* quote = "\"");
