// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile paths and files for the writers and readers: each gives a clear outcome, leaves
// existing files as they were unless the write succeeded, and leaves no temporary file behind.
#include <gtest/gtest.h>

#include <string>

#include "CalculatedTable.h"
#include "ImageResults.h"
#include "TempDir.h"
#include "base/RuntimeFailure.h"
#include "channel/ChannelTable.h"
#include "files/ChannelSetFile.h"
#include "files/FileFailureText.h"
#include "files/ImageWriter.h"
#include "files/IniFileStore.h"
#include "files/PrivateProfile.h"

namespace vx40 {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

void ExpectSameCells(const ChannelTable& a, const ChannelTable& b, int firstColumn) {
    for (int r = 1; r < kRowCount; ++r) {
        for (int c = firstColumn; c < kColumnCount; ++c) {
            ASSERT_EQ(a.Cell(c, r), b.Cell(c, r)) << c << ", " << r;
        }
    }
}

TEST(FaultInjection, PathWithBlanksUmlautsAnd200Characters) {
    TempDir dir;
    std::string name = "Kanäle für den Sender Ü ";
    while (name.size() < 196) {
        name += "x";
    }
    const std::string stem = dir.Path(name);
    const ChannelTable table = testutil::CalculatedTable();

    ASSERT_TRUE(WriteImageFile(table, stem + ".bin", ImageFormat::Bin));
    ChannelTable readBack;
    EXPECT_TRUE(testutil::ReadInto(readBack, stem + ".bin", ImageContent::BinOnly));
    ExpectSameCells(readBack, table, kFirstNibbleColumn);

    IniFileStore store;
    store.SetFileName(stem + ".vx4");
    SaveChannelSet(table, store);
    ChannelTable loaded;
    ASSERT_TRUE(LoadChannelSet(loaded, store.FileName()));
    ExpectSameCells(loaded, table, 0);
    EXPECT_EQ(dir.Names().size(), 2U);
}

TEST(FaultInjection, FolderWhereNothingCanBeCreated) {
    const ChannelTable table = testutil::CalculatedTable();
    const std::string binPath = "/proc/vx40-no-such-place.bin";
    const Status bin = WriteImageFile(table, binPath, ImageFormat::Bin);
    ASSERT_FALSE(bin);
    const std::string message = ImageFailureText(bin.Error(), binPath);
    EXPECT_NE(message.find(binPath), std::string::npos) << message;

    IniFileStore store;
    store.SetFileName("/proc/vx40-no-such-place.vx4");
    try {
        SaveChannelSet(table, store);
        FAIL() << "the save reported success";
    } catch (const IniWriteFailure& failure) {
        EXPECT_STREQ(failure.what(), "Unable to write to /proc/vx40-no-such-place.vx4");
    }
}

TEST(FaultInjection, FullDeviceIsRefusedByBothWriters) {
    const ChannelTable table = testutil::CalculatedTable();
    EXPECT_FALSE(WriteImageFile(table, "/dev/full", ImageFormat::Bin));
    IniFileStore store;
    store.SetFileName("/dev/full");
    EXPECT_THROW(SaveChannelSet(table, store), IniWriteFailure);
}

// A channel-set file that another program grew to 10 MB: a key is found at its end, and a write
// or a whole save keeps every byte of what it does not own.
TEST(FaultInjection, TenMegabyteChannelSetFile) {
    TempDir dir;
    std::string foreign;
    for (int i = 0; foreign.size() < 10'000'000; ++i) {
        foreign +=
            "[Protokoll" + std::to_string(i) + "]\r\nEintrag=" + std::string(60, 'p') + "\r\n";
    }
    const std::string path = dir.Path("gross.vx4");
    WriteBytes(path, foreign + "[Wert16]\r\nD0=04\r\n");
    EXPECT_EQ(GetPrivateProfileString("Wert16", "D0", "", path), "04");
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "Frequenz", "798300", path));
    EXPECT_EQ(ReadBytes(path), foreign + "[Wert16]\r\nD0=04\r\n[Wert1]\r\nFrequenz=798300\r\n");
    EXPECT_EQ(GetPrivateProfileString("Wert1", "Frequenz", "", path), "798300");

    const ChannelTable table = testutil::CalculatedTable();
    IniFileStore store;
    store.SetFileName(path);
    SaveChannelSet(table, store);
    EXPECT_EQ(ReadBytes(path).substr(0, foreign.size()), foreign);
    ChannelTable loaded;
    ASSERT_TRUE(LoadChannelSet(loaded, store.FileName()));
    ExpectSameCells(loaded, table, 0);
    EXPECT_EQ(dir.Names().size(), 1U);
}

TEST(FaultInjection, HundredKilobyteLineAndNulBytes) {
    TempDir dir;
    const std::string path = dir.Path("seltsam.vx4");
    const std::string longValue(100'000, 'v');
    std::string file = "[Wert1]\r\nFrequenz=" + longValue + "\r\n";
    file += std::string(100'000, 'j') + "\r\n";  // a line that is neither section nor key
    file += std::string("N0=12\0junk", 10) + "\r\n";
    file += "[Wert2]\r\nN1=" + std::string("\0\0\0", 3) + "\r\nN2=7\r\n";
    WriteBytes(path, file);

    ChannelTable loaded;
    IniFileStore store;
    store.SetFileName(path);
    ASSERT_TRUE(LoadChannelSet(loaded, store.FileName()));
    EXPECT_EQ(loaded.Cell(0, 1), longValue.substr(0, kMaxProfileValueLength));
    EXPECT_EQ(loaded.Cell(1, 1), "12");  // a NUL byte ends the value
    EXPECT_EQ(loaded.Cell(2, 2), "");
    EXPECT_EQ(loaded.Cell(3, 2), "7");

    // Writing one key keeps the odd lines byte for byte.
    ASSERT_TRUE(WritePrivateProfileString("Wert1", "D0", "04", path));
    const std::string after = ReadBytes(path);
    EXPECT_NE(after.find(std::string(100'000, 'j') + "\r\n"), std::string::npos);
    EXPECT_NE(after.find(std::string("N0=12\0junk\r\n", 12)), std::string::npos);
    EXPECT_EQ(GetPrivateProfileString("Wert1", "D0", "", path), "04");
    EXPECT_EQ(dir.Names().size(), 1U);
}

}  // namespace
}  // namespace vx40
