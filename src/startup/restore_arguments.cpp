#include "startup/restore_arguments.h"

#include "common/run_failure.h"

namespace sorvane {

RestoreArguments TakeRestoreArguments(std::vector<std::string>& arguments) {
    static const std::string kRestore = "--restore";
    RestoreArguments taken;
    std::vector<std::string> rest;
    for (std::string& argument : arguments) {
        if (argument == "--dry-run") {
            taken.dryRun = true;
        } else if (argument.rfind(kRestore, 0) == 0) {
            if (argument.size() <= kRestore.size() + 1 || argument[kRestore.size()] != '=') {
                throw RunFailure(kInvalidArgument, "--restore needs the backup file: --restore=FILE");
            }
            taken.file = argument.substr(kRestore.size() + 1);
        } else {
            rest.push_back(std::move(argument));
        }
    }
    arguments = std::move(rest);
    return taken;
}

}  // namespace sorvane
