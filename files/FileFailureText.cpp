// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileFailureText.h"

#include <cerrno>
#include <string_view>
#include <utility>

#include "files/BinImage.h"
#include "text/ShownText.h"

namespace vx40 {
namespace {

// The link a replace did not follow, when it is not the named file itself.
std::string UntrustedLinkReason(const std::string& link) {
    return "der Pfad führt über \"" + link +
           "\", einen symbolischen Link eines anderen Benutzers in einem Ordner, in den alle "
           "schreiben dürfen; ihm wird nicht gefolgt";
}

// The German reason for each error number a file command can meet. Where two names share a
// number (EAGAIN and EWOULDBLOCK, ENOTSUP and EOPNOTSUPP), the first row counts.
constexpr std::pair<int, std::string_view> kSystemErrorReasons[] = {
    {ENOENT, "die Datei oder ein Ordner des Pfads existiert nicht"},
    {EACCES, "keine Berechtigung"},
    {EPERM, "der Vorgang ist nicht erlaubt"},
    {EROFS, "das Dateisystem ist schreibgeschützt"},
    {ENOSPC, "der Datenträger ist voll"},
#ifdef EDQUOT  // not every system has disk quotas
    {EDQUOT, "das Speicherkontingent ist erschöpft"},
#endif
    {EFBIG, "die Datei wäre zu groß"},
    {EISDIR, "das ist ein Ordner"},
    {ENOTDIR, "ein Teil des Pfads ist kein Ordner"},
    {ELOOP, "zu viele symbolische Links im Pfad"},
    {ENAMETOOLONG, "der Name ist zu lang"},
    {EIO, "Ein-/Ausgabefehler des Datenträgers"},
    {EEXIST, "die Datei existiert schon"},
    {EBUSY, "die Datei oder das Gerät ist belegt"},
    {ETXTBSY, "die Datei ist ein laufendes Programm"},
    {EMFILE, "das Programm hat zu viele Dateien geöffnet"},
    {ENFILE, "im System sind zu viele Dateien geöffnet"},
    {ENOMEM, "nicht genug Arbeitsspeicher"},
    {EXDEV, "die Datei liegt auf einem anderen Dateisystem"},
    {EINVAL, "der Zugriff ist für diese Datei ungültig"},
    {EPIPE, "der Empfänger hat die Verbindung geschlossen"},
    {EBADF, "die Datei ist nicht geöffnet"},
    {ENXIO, "das Gerät oder die Gegenstelle existiert nicht"},
    {ENODEV, "das Gerät erlaubt diesen Zugriff nicht"},
    {EAGAIN, "die Datei ist vorübergehend nicht verfügbar"},
    {EINTR, "durch ein Signal unterbrochen"},
#ifdef ESTALE
    {ESTALE, "die Datei auf dem Netzlaufwerk ist nicht mehr gültig"},
#endif
    {EOVERFLOW, "die Datei ist zu groß für diesen Zugriff"},
    {EMLINK, "die Datei hat zu viele Links"},
    {ENOTEMPTY, "der Ordner ist nicht leer"},
    {ENOTSUP, "das Dateisystem erlaubt diesen Zugriff nicht"},
    {EOPNOTSUPP, "das Dateisystem erlaubt diesen Zugriff nicht"},
    {ENOSYS, "das System kennt diesen Zugriff nicht"},
    {ENOLCK, "keine Dateisperre verfügbar"},
    {ESPIPE, "die Datei erlaubt keinen Sprung an eine Stelle"},
    {ETIMEDOUT, "Zeitüberschreitung beim Zugriff"},
    {EFAULT, "ungültige Speicheradresse"},
    {EILSEQ, "der Name ist kein gültiger UTF-8-Text"},
};

// A cell loaded from a file may hold a long text; the message shows its start.
constexpr std::size_t kShownCellTextLength = 40;

std::string ShownCellText(const std::string& text) {
    if (text.size() <= kShownCellTextLength) {
        return ShownText(text);
    }
    std::size_t cut = kShownCellTextLength;
    // Never cut inside a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return ShownText(text.substr(0, cut)) + "…";
}

std::string InvalidNibbleCellText(const Failure& invalid) {
    const NibbleCell cell = BinImageCell(invalid.position);
    return "Kanal " + std::to_string(cell.channel) + ", D" + std::to_string(cell.nibble) +
           " enthält \"" + ShownCellText(invalid.detail) +
           "\": kein gültiges Datennibble (00 bis 0F). Es wurde nichts geschrieben.";
}

std::string FileWriteFailureReason(const Failure& replace) {
    switch (replace.kind) {
        case FailureKind::TargetReadOnly:
            return "die Datei ist schreibgeschützt";
        case FailureKind::FolderNotWritable:
            return "im Ordner darf keine Datei angelegt werden";
        case FailureKind::NotRegularFile:
            return "das Ziel ist keine gewöhnliche Datei";
        case FailureKind::FolderMissing:
            return "der Ordner existiert nicht";
        case FailureKind::DiskFull:
            return "der Datenträger ist voll";
        case FailureKind::FileTooLarge:
            return "die Datei wäre zu groß";
        case FailureKind::LinkNotFollowed:
            if (!replace.detail.empty()) {
                return UntrustedLinkReason(replace.detail);
            }
            return "sie ist ein symbolischer Link eines anderen Benutzers in einem Ordner, in den "
                   "alle schreiben dürfen; ihm wird nicht gefolgt";
        case FailureKind::ForeignFile:
            return "sie gehört einem anderen Benutzer und liegt in einem Ordner, in den alle "
                   "schreiben dürfen; sie wird nicht ersetzt";
        case FailureKind::FileInUse:
            return "sie ist in einem anderen Programm geöffnet, das sie nicht freigibt";
        default:
            break;
    }
    return SystemErrorText(replace.error);
}

}  // namespace

std::string FileSentence(const std::string& path, const std::string& whatHappened) {
    return "Die Datei \"" + ShownText(path) + "\" " + whatHappened;
}

std::string SystemErrorText(int error) {
    for (const auto& [number, reason] : kSystemErrorReasons) {
        if (number == error) {
            return std::string(reason);
        }
    }
    return "Systemfehler " + std::to_string(error);
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

std::string FileWriteFailureMessage(const std::string& path, const Status& replace) {
    return FileSentence(
        path, "konnte nicht geschrieben werden: " + FileWriteFailureReason(replace.Error()) + ".");
}

std::string ImageFailureText(const Failure& failure, const std::string& path) {
    switch (failure.kind) {
        case FailureKind::ReadFailed:
        case FailureKind::ImageTooShort:
            return std::string(kBinTooShortMessage);
        case FailureKind::ImageInvalidData:
            return std::string(kBinInvalidDataMessage);
        case FailureKind::ImageInvalidRecords:
        case FailureKind::ChipImageRefused:
            return failure.detail;
        case FailureKind::InvalidNibbleCell:
            return InvalidNibbleCellText(failure);
        default:
            break;
    }
    return FileWriteFailureMessage(path, failure);
}

}  // namespace vx40
