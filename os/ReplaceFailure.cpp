// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/ReplaceFailure.h"

#include <cerrno>

namespace vx40::replace {

Failure Failed(FailureKind kind, int error) {
    return Failure{kind, error};
}

Failure FailedWith(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return Failed(FailureKind::FolderMissing, error);
        case EACCES:
        case EPERM:
        case EROFS:
            return Failed(FailureKind::FolderNotWritable, error);
        case ENOSPC:
#ifdef EDQUOT  // not every system has disk quotas
        case EDQUOT:
#endif
            return Failed(FailureKind::DiskFull, error);
        case EFBIG:
            return Failed(FailureKind::FileTooLarge, error);
        case EISDIR:
            return Failed(FailureKind::NotRegularFile, error);
        default:
            return Failed(FailureKind::WriteFailed, error);
    }
}

}  // namespace vx40::replace
