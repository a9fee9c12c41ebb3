// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/LineSplitter.h"

namespace vx40 {

void LineSplitter::Feed(std::string_view bytes, const LineHandler& onLine) {
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        Append(bytes.substr(0, end));
        if (end == std::string_view::npos) {
            return;
        }
        EndLine(onLine);
        bytes.remove_prefix(end + 1);
    }
}

void LineSplitter::Finish(const LineHandler& onLine) {
    if (lineOpen_) {
        EndLine(onLine);
    }
}

void LineSplitter::Append(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    lineOpen_ = true;
    if (kept_.empty()) {
        const auto first = bytes.find_first_not_of(blanks_);
        if (first == std::string_view::npos) {
            return;
        }
        bytes.remove_prefix(first);
    }
    const std::size_t room = keptBytes_ - kept_.size();
    kept_.append(bytes.substr(0, room));
    if (bytes.size() > room &&
        bytes.substr(room).find_first_not_of(blanks_) != std::string_view::npos) {
        cut_ = true;
    }
}

void LineSplitter::EndLine(const LineHandler& onLine) {
    onLine(++lineNumber_, kept_, cut_);
    kept_.clear();
    cut_ = false;
    lineOpen_ = false;
}

}  // namespace vx40
