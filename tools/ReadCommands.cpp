#include <algorithm>
#include <cstdint>
#include <span>

#include "channel/NFactorBackCalculation.h"
#include "files/BinFile.h"
#include "files/BinImage.h"
#include "files/ChannelSetFile.h"
#include "platform/IniFileStore.h"
#include "tools/ExitCode.h"
#include "tools/InputFile.h"
#include "tools/TableOutput.h"
#include "tools/ToolCommands.h"
#include "tools/ToolError.h"

namespace vx40::tool {
namespace {

void PrintChannels(std::ostream& out, const ChannelTable& table, bool csv) {
    std::vector<TextRow> rows;
    for (int r = 1; r < kRowCount; ++r) {
        rows.push_back(ChannelRow(table, r));
    }
    PrintTable(out, ChannelColumnHeader(true), rows, csv);
}

// A load never fails: it reads a missing file as empty. The tool refuses such an input instead.
ChannelTable LoadChannelSetFile(const std::string& path) {
    CheckInputReadable(path, ReadableFiles::RegularOnly);
    IniFileStore store;
    store.SetFileName(path);
    ChannelTable table;
    LoadChannelSet(table, store);
    return table;
}

}  // namespace

int RunDecode(const ReadArguments& arguments, std::ostream& out, std::ostream& err) {
    // A pipe or FIFO is read once and waited for, as a file would be read: opening it twice could
    // lose what its writer sends.
    const std::string bytes =
        ReadInputBytes(arguments.inputPath, kBinImageSize, ReadableFiles::AnyWaitingForInput);
    const BinImageParse read =
        ParseBinImage(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (!read.Accepted()) {
        // The message dialog starts a new line at each carriage return; a terminal needs a line
        // feed for that.
        std::string message(BinRefusalMessage(read.fault));
        std::replace(message.begin(), message.end(), '\r', '\n');
        err << message << '\n';
        return kExitRefused;
    }
    ChannelTable table;
    ApplyBinImage(table, read.image);
    BackCalculateNFactors(table);
    PrintChannels(out, table, arguments.csv);
    return kExitSuccess;
}

int RunShow(const ReadArguments& arguments, std::ostream& out, std::ostream& /*err*/) {
    PrintChannels(out, LoadChannelSetFile(arguments.inputPath), arguments.csv);
    return kExitSuccess;
}

int RunEncode(const EncodeArguments& arguments, std::ostream& /*out*/, std::ostream& err) {
    CheckDistinctFiles({{"IN.vx4", arguments.inputPath}, {"-o", arguments.binPath}});
    const ChannelTable table = LoadChannelSetFile(arguments.inputPath);
    const BinWriteResult written = WriteBinFile(table, arguments.binPath);
    switch (written.outcome) {
        case BinWriteOutcome::Written:
            return kExitSuccess;
        case BinWriteOutcome::InvalidCell:
            err << written.message << '\n';
            return kExitRefused;
        case BinWriteOutcome::WriteFailed:
            break;
    }
    throw ToolError(written.message, false);
}

}  // namespace vx40::tool
