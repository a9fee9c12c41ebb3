// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileFailureText.h"

#include <cerrno>
#include <cstring>

namespace vx40 {
namespace {

// The link a replace did not follow, when it is not the named file itself.
std::string UntrustedLinkReason(const std::string& link) {
    return "der Pfad führt über \"" + link +
           "\", einen symbolischen Link eines anderen Benutzers in einem Ordner, in den alle "
           "schreiben dürfen; ihm wird nicht gefolgt";
}

std::string FileWriteFailureReason(const FileReplaceResult& replace) {
    switch (replace.failure) {
        case FileReplaceFailure::TargetReadOnly:
            return "die Datei ist schreibgeschützt";
        case FileReplaceFailure::FolderNotWritable:
            return "im Ordner darf keine Datei angelegt werden";
        case FileReplaceFailure::NotRegularFile:
            return "das Ziel ist keine gewöhnliche Datei";
        case FileReplaceFailure::FolderMissing:
            return "der Ordner existiert nicht";
        case FileReplaceFailure::DiskFull:
            return "der Datenträger ist voll";
        case FileReplaceFailure::FileTooLarge:
            return "die Datei wäre zu groß";
        case FileReplaceFailure::LinkNotFollowed:
            if (!replace.untrustedLink.empty()) {
                return UntrustedLinkReason(replace.untrustedLink);
            }
            return "sie ist ein symbolischer Link eines anderen Benutzers in einem Ordner, in den "
                   "alle schreiben dürfen; ihm wird nicht gefolgt";
        case FileReplaceFailure::ForeignFile:
            return "sie gehört einem anderen Benutzer und liegt in einem Ordner, in den alle "
                   "schreiben dürfen; sie wird nicht ersetzt";
        case FileReplaceFailure::None:
        case FileReplaceFailure::Other:
            break;
    }
    return SystemErrorText(replace.error);
}

}  // namespace

std::string FileSentence(const std::string& path, const std::string& whatHappened) {
    return "Die Datei \"" + path + "\" " + whatHappened;
}

std::string SystemErrorText(int error) {
    return "Systemfehler " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

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
            return SystemErrorText(error);
    }
}

std::string FileReadFailureMessage(const std::string& path, const std::string& verb, int error) {
    return FileSentence(path, verb + " werden: " + FileReadFailureReason(error) + ".");
}

std::string FileWriteFailureMessage(const std::string& path, const FileReplaceResult& replace) {
    return FileSentence(
        path, "konnte nicht geschrieben werden: " + FileWriteFailureReason(replace) + ".");
}

}  // namespace vx40
