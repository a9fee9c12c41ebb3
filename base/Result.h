// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vx40 {

// What went wrong, in the terms a message to the user needs. The layer that can fail in a way
// names the kind; one function per layer turns its kinds into German text.
enum class FailureKind {
    // Reading a file (error: the errno; detail: the path).
    ReadFailed,
    // Replacing a file whole (error: the errno of the failing step; detail: the path, or for
    // LinkNotFollowed the link on the way when it is not the named file itself).
    TargetReadOnly,     // the target exists and may not be written
    FolderNotWritable,  // no new file may be made in the target's folder
    NotRegularFile,     // the target is a folder, a device, a FIFO, ...
    FolderMissing,      // the target's folder does not exist
    DiskFull,
    FileTooLarge,     // beyond the file-size limit of the process or of the file system
    LinkNotFollowed,  // a link in a shared sticky folder that someone else may have planted
    ForeignFile,      // another user's file in a shared sticky folder
    WriteFailed,      // any other failure of the write
    FileInUse,        // another program holds the target open and lets no one replace it
    // Images (position: the offset or line; detail: what is wrong).
    ImageTooShort,        // fewer than 128 bytes
    ImageInvalidData,     // a byte above 0x0F among the first 128 (position: its offset)
    ImageInvalidRecords,  // Intel HEX or S-records that cannot give the image (detail: why)
    InvalidNibbleCell,    // a data cell that is no nibble text (position: offset; detail: text)
    ChipLayoutRefused,    // a chip size, fill byte or offset out of range (detail: the message)
    ChipImageRefused,     // a chip read back that holds no image at the offset (detail: why)
    // Texts.
    ValueNotWritable,  // an INI value with a CR, LF or NUL
    NoChannelSet,      // a text with none of the sections Wert1 to Wert16
    NotCalculable,     // a frequency the divider cannot reach exactly
    NameNotWritable,   // an INI section or key name that would break the text's lines
    // The command line tool (detail: the message as the user reads it).
    CallRefused,    // a call the tool cannot run as given: a wrong argument, one file named twice
    InputRefused,   // data of an input that the command refuses (position: the line number)
    CommandFailed,  // a command that could not finish: a file not written, an output that failed
};

struct Failure {
    Failure(FailureKind failureKind, int systemError = 0, std::string failureDetail = {},
            std::size_t failurePosition = 0)
        : kind(failureKind),
          error(systemError),
          detail(std::move(failureDetail)),
          position(failurePosition) {}

    FailureKind kind;
    int error = 0;             // the system error number, where there is one
    std::string detail;        // the path, the line, the cell's text, ...
    std::size_t position = 0;  // a line number, an offset, ...
};

// The value of an operation, or why there is none. std::expected would do, but not every
// compiler the project is built with has it.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    const T& Value() const& { return std::get<0>(state_); }
    T& Value() & { return std::get<0>(state_); }
    T&& Value() && { return std::get<0>(std::move(state_)); }
    const T& operator*() const& { return Value(); }
    T& operator*() & { return Value(); }
    const T* operator->() const { return &Value(); }
    T* operator->() { return &Value(); }

    const Failure& Error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Failure> state_;
};

// An operation that gives nothing but success or its failure.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool Ok() const { return !failure_.has_value(); }
    explicit operator bool() const { return Ok(); }

    const Failure& Error() const { return *failure_; }

  private:
    std::optional<Failure> failure_;
};

using Status = Result<void>;

}  // namespace vx40
