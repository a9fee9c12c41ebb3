// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileReadFailure.h"

#include <cerrno>
#include <cstring>

namespace vx40 {

std::string FileReadFailureReason(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return "sie existiert nicht";
        case EACCES:
        case EPERM:
            return "keine Leseberechtigung";
        case EISDIR:
            return "das ist ein Ordner";
        case EINVAL:
            return "das ist keine gewöhnliche Datei";
        default:
            return "Systemfehler " + std::to_string(error) + " (" + std::strerror(error) + ")";
    }
}

}  // namespace vx40
