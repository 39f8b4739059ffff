#include "common/manual_page.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "common/program_folder.h"
#include "common/run_failure.h"
#include "common/read_text_lines.h"

namespace sorvane {

std::vector<std::string> ManualPageCandidates() {
    std::vector<std::string> candidates{kManualPageFileName};
    const std::filesystem::path folder = ProgramFolder();
    if (!folder.empty()) {
        candidates.push_back((folder / kManualPageFileName).string());
        const std::filesystem::path installed = folder / SORVANE_DATA_DIR_FROM_PROGRAM / kManualPageFileName;
        candidates.push_back(installed.lexically_normal().string());
    }
    candidates.push_back((std::filesystem::path(SORVANE_DATA_DIR) / kManualPageFileName).string());
    return candidates;
}

std::optional<std::vector<std::string>> LoadManualPageFrom(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        std::error_code error;
        // Only an absent file passes on to the next place; one that is there
        // but empty or unreadable is reported, not silently replaced.
        if (std::filesystem::exists(candidate, error)) return ReadTextLines(candidate);
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> LoadManualPage() { return LoadManualPageFrom(ManualPageCandidates()); }

void ShowManualPageIn(ManualPageSink& sink, const ManualPageLoader& loader) {
    const std::optional<std::vector<std::string>> lines = loader ? loader() : std::nullopt;
    if (!lines) {
        throw RunFailure(kFileNotFound, std::string("The manual page ") + kManualPageFileName +
                                            " is missing, empty or unreadable");
    }
    constexpr std::size_t kLastCounterValue = INT16_MAX;
    for (std::size_t index = 0; index < lines->size(); ++index) {
        sink.AppendLine((*lines)[index]);
        // The 16-bit line counter overflows when it steps past 32767, whether
        // or not another line follows. What fits is still shown, so a long page
        // is cut rather than lost; the failure then says why it stops there.
        if (index == kLastCounterValue) {
            sink.Show();
            throw RunFailure(kOverflow, "The manual page has 32768 lines or more; only its first 32768 lines are shown");
        }
    }
    sink.Show();
}

}  // namespace sorvane
