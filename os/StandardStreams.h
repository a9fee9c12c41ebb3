// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vx40 {

// A closed standard stream would hand its number to the next file the program opens: a message
// would then be written into an image being replaced. A program that writes files calls this at
// start: each closed stream gets a stand-in that keeps its number taken and fails every use of
// the stream as if it were closed. Where the system tells text from binary streams, the streams
// become binary, so that every byte written is the byte meant (LF stays LF), and a console shows
// UTF-8.
void TakeClosedStandardStreams();

// Whether standard input can be read: not when it is closed, nor when it is the stand-in of
// TakeClosedStandardStreams.
bool StandardInputReadable();

// The name by which a reader opens standard input, as a file of any kind whose reads wait for
// the input as it comes.
std::string StandardInputPath();

}  // namespace vx40
