// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vx40 {

// The lines of a text as its bytes arrive, split at LF. A text may be any file, so of each line
// only its start from the first byte that is no blank is kept, at most keptBytes of it: a text of
// any size costs the same small memory.
class LineSplitter {
  public:
    // lineNumber counts from 1 over all lines; kept is the line's kept start, blanks at its end
    // included; cut says that the line goes on beyond kept with more than blanks.
    using LineHandler = std::function<void(int lineNumber, std::string_view kept, bool cut)>;

    LineSplitter(std::size_t keptBytes, std::string_view blanks)
        : keptBytes_(keptBytes), blanks_(blanks) {}

    // Hands each line that the bytes complete to onLine.
    void Feed(std::string_view bytes, const LineHandler& onLine);
    // The last line, when the text does not end in a line break.
    void Finish(const LineHandler& onLine);

  private:
    void Append(std::string_view bytes);
    void EndLine(const LineHandler& onLine);

    std::size_t keptBytes_;
    std::string_view blanks_;
    int lineNumber_ = 0;
    std::string kept_;
    bool cut_ = false;
    bool lineOpen_ = false;  // bytes of a line that has not ended yet have come
};

}  // namespace vx40
