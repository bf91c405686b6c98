// SPDX-License-Identifier: MIT
#include "catalogue/BlockDevice.h"

#include <gtest/gtest.h>

#include "tests/catalogue/ExifTestFiles.h"

namespace fs = std::filesystem;

// A made-up /sys with the links the kernel makes: a SATA disk, an NVMe disk, a virtio
// disk, and a SCSI disk behind a virtio host adapter, each with a partition.
TEST(BlockDevice, OnlyARealSpinningDiskReadsOneAtATime)
{
    TempDir dir;
    const fs::path sys = dir.path / "sys", devices = sys / "devices" / "pci0000:00";
    auto disk = [&](const fs::path& device, const char* name, const char* driver,
                    const char* rotational, const char* number, const char* partitionNumber) {
        const fs::path block = device / "block" / name,
                       partition = block / (name + std::string("1"));
        fs::create_directories(block / "queue");
        fs::create_directories(partition);
        std::ofstream(block / "queue" / "rotational") << rotational << '\n';
        std::ofstream(partition / "partition") << "1\n";
        fs::create_directories(sys / "bus" / "drivers" / driver);
        if (!fs::exists(device / "driver"))
            fs::create_directory_symlink(sys / "bus" / "drivers" / driver, device / "driver");
        fs::create_directory_symlink(device, block / "device");
        fs::create_directories(sys / "dev" / "block");
        fs::create_directory_symlink(block, sys / "dev" / "block" / number);
        fs::create_directory_symlink(partition, sys / "dev" / "block" / partitionNumber);
    };
    disk(devices / "ata1" / "host0" / "target0:0:0" / "0:0:0:0", "sda", "sd", "1", "8:0", "8:1");
    disk(devices / "nvme0", "nvme0n1", "nvme", "0", "259:0", "259:1");
    disk(devices / "virtio1", "vda", "virtio_blk", "1", "254:0", "254:1");
    const fs::path scsiHost = devices / "virtio2";
    fs::create_directories(scsiHost);
    fs::create_directory_symlink(sys / "bus" / "drivers" / "virtio_scsi", scsiHost / "driver");
    disk(scsiHost / "host1" / "target1:0:0" / "1:0:0:0", "sdb", "sd", "1", "8:16", "8:17");
    disk(devices / "usb1", "sdc", "sd", "yes", "8:32", "8:33");

    // The SATA disk and its partition; solid state; virtio, whose flag says nothing; a disk
    // on a virtio host adapter; a flag that is neither 0 nor 1; no block device (a network
    // or memory file system).
    const std::tuple<unsigned, unsigned, bool> rows[] = { { 8, 0, true }, { 8, 1, true },
        { 259, 0, false }, { 259, 1, false }, { 254, 0, false }, { 254, 1, false },
        { 8, 16, false }, { 8, 17, false }, { 8, 32, false }, { 0, 45, false } };
    fs::create_directories(sys / "bus" / "drivers" / "virtio_scsi");
    for (const auto& [major, minor, spinning] : rows)
        EXPECT_EQ(IsSpinningDisk(sys.string(), major, minor), spinning) << major << ':' << minor;
}
