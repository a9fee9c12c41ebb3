// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolFailure.h"

#include <algorithm>
#include <utility>

#include "files/ChannelSetFile.h"
#include "files/FileFailureText.h"
#include "tools/ExitCode.h"

namespace vx40::tool {
namespace {

// The text of an image's refusal as a terminal shows it: where the message dialog starts a new
// line at a carriage return, a line feed.
std::string ImageRefusalText(const Failure& failure) {
    std::string message = ImageFailureText(failure, {});
    std::replace(message.begin(), message.end(), '\r', '\n');
    return message;
}

}  // namespace

FailureReport ToolFailureReport(const Failure& failure) {
    switch (failure.kind) {
        case FailureKind::ReadFailed:
            return {FileReadFailureMessage(failure.detail, "kann nicht gelesen", failure.error),
                    kExitUsage, true};
        case FailureKind::CallRefused:
        case FailureKind::ChipLayoutRefused:
            return {failure.detail, kExitUsage, true};
        case FailureKind::NoChannelSet:
            return {NoChannelSetMessage(failure.detail), kExitRefused};
        case FailureKind::ImageTooShort:
        case FailureKind::ImageInvalidData:
        case FailureKind::ImageInvalidRecords:
        case FailureKind::ChipImageRefused:
        case FailureKind::InvalidNibbleCell:
            return {ImageRefusalText(failure), kExitRefused};
        case FailureKind::InputRefused:
            return {failure.detail, kExitRefused};
        default:
            break;
    }
    return {failure.detail, kExitUsage};
}

Failure CallRefusal(std::string message) {
    return Failure(FailureKind::CallRefused, 0, std::move(message));
}

Failure CommandFailure(std::string message) {
    return Failure(FailureKind::CommandFailed, 0, std::move(message));
}

}  // namespace vx40::tool
