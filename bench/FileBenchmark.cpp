// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <span>
#include <string>

#include "BenchmarkFolder.h"
#include "BenchmarkTables.h"
#include "channel/ChannelConstants.h"
#include "channel/NFactorBackCalculation.h"
#include "files/BinImage.h"
#include "files/ChannelSetFile.h"
#include "files/ImageReader.h"
#include "files/ImageWriter.h"
#include "files/IniFileStore.h"

namespace {

using vx40::ChannelTable;
using vx40::bench::BenchmarkFolder;
using vx40::bench::FolderKind;

// The second table of a save that alternates: every value changes, none changes its length.
constexpr std::int32_t kOtherTableShiftKhz = 400;

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

std::size_t LineCount(const std::string& text) {
    std::size_t lines = 0;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

// Sections of another program, shaped like the channel sections (a name and 12 keys), standing
// before them so that every key the save looks for lies behind all of them.
std::string OtherSections(int count) {
    std::string text;
    for (int section = 1; section <= count; ++section) {
        text.append("[Fremd").append(std::to_string(section)).append("]\r\n");
        for (int key = 0; key < vx40::kColumnCount; ++key) {
            text.append("Eintrag").append(std::to_string(key)).append("=0");
            text.append(std::to_string(key % 10)).append("\r\n");
        }
    }
    return text;
}

void BinImageInMemory(benchmark::State& state) {
    const ChannelTable source = vx40::bench::CalculatedTable();
    ChannelTable target;
    for (auto _ : state) {
        const vx40::Result<vx40::BinImage> build = vx40::BuildBinImage(source);
        const vx40::Result<vx40::BinImage> parse =
            vx40::ReadImage(std::span(*build), vx40::ImageContent::BinOnly);
        vx40::ApplyBinImage(target, *parse);
        benchmark::DoNotOptimize(target.Cell(vx40::kLastNibbleColumn, 1).data());
    }
}
BENCHMARK(BinImageInMemory);

// What a user does with a whole table in one sitting, without the files: 16 calculations, the
// back-calculation, the image built, checked and applied.
void SixteenRowsBackCalculationBinImage(benchmark::State& state) {
    ChannelTable table;
    ChannelTable readBack;
    for (auto _ : state) {
        vx40::bench::CalculateRows(table);
        vx40::BackCalculateNFactors(table);
        const vx40::Result<vx40::BinImage> build = vx40::BuildBinImage(table);
        const vx40::Result<vx40::BinImage> parse =
            vx40::ReadImage(std::span(*build), vx40::ImageContent::BinOnly);
        vx40::ApplyBinImage(readBack, *parse);
        benchmark::DoNotOptimize(readBack.Cell(vx40::kLastNibbleColumn, 1).data());
    }
}
BENCHMARK(SixteenRowsBackCalculationBinImage);

// A benchmark whose folder could not be made is skipped with the reason.
bool Usable(benchmark::State& state, const BenchmarkFolder& folder) {
    if (!folder.Valid()) {
        state.SkipWithError(folder.Error().c_str());
    }
    return folder.Valid();
}

void BinFileWriteRead(benchmark::State& state, FolderKind kind) {
    const BenchmarkFolder folder(kind);
    if (!Usable(state, folder)) {
        return;
    }
    const std::string path = folder.Path("channels.bin");
    const ChannelTable source = vx40::bench::CalculatedTable();
    ChannelTable target;
    for (auto _ : state) {
        if (!vx40::WriteImageFile(source, path, vx40::ImageFormat::Bin)) {
            state.SkipWithError("bin file not written");
            break;
        }
        const vx40::Result<vx40::BinImage> read = vx40::ReadImageFile(
            path, vx40::ReadableFiles::AnyExceptDirectories, vx40::ImageContent::BinOnly);
        if (!read) {
            state.SkipWithError("bin file not read back");
            break;
        }
        vx40::ApplyBinImage(target, *read);
    }
}
BENCHMARK_CAPTURE(BinFileWriteRead, disk, FolderKind::Disk)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BinFileWriteRead, tmpfs, FolderKind::Tmpfs)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The save dialog takes only files that exist: an empty file is the first save of a table.
void SaveIntoEmptyFile(benchmark::State& state, FolderKind kind) {
    const BenchmarkFolder folder(kind);
    if (!Usable(state, folder)) {
        return;
    }
    vx40::IniFileStore store;
    store.SetFileName(folder.Path("channels.vx4"));
    const ChannelTable table = vx40::bench::CalculatedTable();
    for (auto _ : state) {
        state.PauseTiming();
        const bool emptied = WriteText(store.FileName(), "");
        state.ResumeTiming();
        if (!emptied) {
            state.SkipWithError("cannot empty the file");
            break;
        }
        vx40::SaveChannelSet(table, store);
    }
}
BENCHMARK_CAPTURE(SaveIntoEmptyFile, disk, FolderKind::Disk)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(SaveIntoEmptyFile, tmpfs, FolderKind::Tmpfs)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A save over a channel-set file written earlier, with 16 x range(0) sections of another program
// in front: 0 gives the bare 208-line file. The two tables alternate, so every key changes.
void SaveIntoExistingFile(benchmark::State& state, FolderKind kind) {
    const BenchmarkFolder folder(kind);
    if (!Usable(state, folder)) {
        return;
    }
    const ChannelTable tables[] = {vx40::bench::CalculatedTable(),
                                   vx40::bench::CalculatedTable(kOtherTableShiftKhz)};
    const std::string text = OtherSections(vx40::kChannelCount * static_cast<int>(state.range(0))) +
                             *vx40::ChannelSetText(tables[1]);
    vx40::IniFileStore store;
    store.SetFileName(folder.Path("channels.vx4"));
    if (!WriteText(store.FileName(), text)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    std::size_t saves = 0;
    for (auto _ : state) {
        vx40::SaveChannelSet(tables[saves++ % 2], store);
    }
    state.counters["lines"] = static_cast<double>(LineCount(text));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK_CAPTURE(SaveIntoExistingFile, disk, FolderKind::Disk)
    ->Arg(0)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(SaveIntoExistingFile, tmpfs, FolderKind::Tmpfs)
    ->Arg(0)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void LoadChannelSet(benchmark::State& state, FolderKind kind) {
    const BenchmarkFolder folder(kind);
    if (!Usable(state, folder)) {
        return;
    }
    vx40::IniFileStore store;
    store.SetFileName(folder.Path("channels.vx4"));
    if (!WriteText(store.FileName(), *vx40::ChannelSetText(vx40::bench::CalculatedTable()))) {
        state.SkipWithError("cannot write the file");
        return;
    }
    ChannelTable table;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vx40::LoadChannelSet(table, store.FileName()).Ok());
        benchmark::DoNotOptimize(table.Cell(vx40::kLastNibbleColumn, 16).data());
    }
}
BENCHMARK_CAPTURE(LoadChannelSet, disk, FolderKind::Disk)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(LoadChannelSet, tmpfs, FolderKind::Tmpfs)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A 16 MB file in which a million small sections of another program stand before the channel set.
void LoadChannelSetBehindMillionSections(benchmark::State& state, FolderKind kind) {
    const BenchmarkFolder folder(kind);
    if (!Usable(state, folder)) {
        return;
    }
    constexpr int kSections = 1'000'000;
    std::string text;
    text.reserve(16 * kSections + 4096);
    for (int section = 0; section < kSections; ++section) {
        // 16 bytes each: "[P000123]\r\nx=1\r\n"
        const std::string number = std::to_string(section);
        text.append("[P").append(6 - number.size(), '0').append(number).append("]\r\nx=1\r\n");
    }
    text += *vx40::ChannelSetText(vx40::bench::CalculatedTable());
    vx40::IniFileStore store;
    store.SetFileName(folder.Path("channels.vx4"));
    if (!WriteText(store.FileName(), text)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    ChannelTable table;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vx40::LoadChannelSet(table, store.FileName()).Ok());
        benchmark::DoNotOptimize(table.Cell(vx40::kLastNibbleColumn, 16).data());
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK_CAPTURE(LoadChannelSetBehindMillionSections, disk, FolderKind::Disk)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
