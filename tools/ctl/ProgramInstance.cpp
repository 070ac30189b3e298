#include "ProgramInstance.h"

namespace xk::ctl {

ProgramInstance::ProgramInstance(const std::filesystem::path& personFolder)
    : places_(InstancePlacesFor(personFolder, UserSocketFolderCandidates())) {}

} // namespace xk::ctl
