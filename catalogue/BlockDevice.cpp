// SPDX-License-Identifier: MIT
#include "catalogue/BlockDevice.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Drivers of paravirtual disks and of the virtual host adapters that carry disks: a disk
// below one of these has a rotational flag that describes nothing real. "vbd" is the
// name Xen's block front end registers under.
const char* const kParavirtualDrivers[]
    = { "virtio_blk", "virtio_scsi", "vbd", "xen-blkfront", "vmw_pvscsi", "hv_storvsc" };

bool IsParavirtualDriver(const std::string& name)
{
    for (const char* driver : kParavirtualDrivers) {
        if (name == driver)
            return true;
    }
    return false;
}

// Whether the disk's device, or a device above it up to sysRoot/devices, is bound to a
// paravirtual driver (its "driver" link names it).
bool IsParavirtual(const fs::path& sysRoot, const fs::path& disk)
{
    std::error_code error;
    const fs::path devices = fs::canonical(sysRoot / "devices", error);
    if (error)
        return false;
    fs::path at = fs::canonical(disk / "device", error);
    if (error)
        return false;
    for (; at != devices && at != at.parent_path(); at = at.parent_path()) {
        const fs::path driver = fs::read_symlink(at / "driver", error);
        if (!error && IsParavirtualDriver(driver.filename().string()))
            return true;
    }
    return false;
}

} // namespace

bool IsSpinningDisk(const std::string& sysRoot, unsigned major, unsigned minor)
{
    std::error_code error;
    const fs::path root(sysRoot);
    fs::path device = fs::canonical(
        root / "dev" / "block" / (std::to_string(major) + ":" + std::to_string(minor)), error);
    if (error)
        return false;
    if (fs::exists(device / "partition", error))
        device = device.parent_path();

    std::ifstream flag(device / "queue" / "rotational");
    std::string text;
    if (!std::getline(flag, text) || text != "1")
        return false;
    return !IsParavirtual(root, device);
}
