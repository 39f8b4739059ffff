#pragma once
// Finding and showing the manual page ("sorvane-manpage.txt").

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/manual_page_sink.h"

namespace sorvane {

constexpr const char* kManualPageFileName = "sorvane-manpage.txt";

// Where -h looks, in order: the bare name in the current folder, the copy
// beside the program (a build tree), the data folder set when the build was
// configured as seen from the program's folder (an installed program, also
// when its prefix was moved) and that data folder itself.
std::vector<std::string> ManualPageCandidates();

// Reads the first candidate that exists; the lines, or no result when none
// exists or the one found is empty or unreadable.
std::optional<std::vector<std::string>> LoadManualPageFrom(const std::vector<std::string>& candidates);

// LoadManualPageFrom(ManualPageCandidates()).
std::optional<std::vector<std::string>> LoadManualPage();

using ManualPageLoader = std::function<std::optional<std::vector<std::string>>()>;

// Appends every line of the manual page to the sink and shows it. Raises
// RunFailure kFileNotFound, before appending anything, when there are no
// lines. The line counter is 16 bits wide: a page of 32768 lines or more
// raises RunFailure kOverflow after the line with index 32767, before Show.
void ShowManualPageIn(ManualPageSink& sink, const ManualPageLoader& loader);

}  // namespace sorvane
