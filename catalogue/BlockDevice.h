// SPDX-License-Identifier: MIT
// What the kernel says about the disk a file lies on, to size the pool that reads ahead.
#pragma once

#include <string>

// True when the block device major:minor is a spinning disk, which is best read one file
// at a time so that its heads do not seek back and forth between files. False for a
// solid-state disk or a card, for a file system without a block device (network, memory),
// and whenever it cannot be told.
//
// sysRoot is "/sys" (tests pass a tree of their own). sysRoot/dev/block/MAJ:MIN links to
// the device's folder: a whole disk, or a partition (a folder holding a "partition" file)
// whose disk is the folder above it. The disk's queue/rotational reads "1" for a spinning
// disk. A paravirtual disk (virtio, Xen) says "1" whatever the host keeps it on, because
// that is the kernel's default for a queue that was told nothing; its flag is ignored.
bool IsSpinningDisk(const std::string& sysRoot, unsigned major, unsigned minor);
