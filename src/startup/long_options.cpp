#include "startup/long_options.h"

namespace sorvane {

LongOptions ReadLongOptions(const std::vector<std::string>& argumentList) {
    LongOptions options;
    for (const std::string& argument : argumentList) {
        if (argument == "--dry-run") options.dryRun = true;
        if (argument == "--progress") options.progress = true;
    }
    return options;
}

}  // namespace sorvane
