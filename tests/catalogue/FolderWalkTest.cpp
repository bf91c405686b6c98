// SPDX-License-Identifier: MIT
#include "catalogue/FolderWalk.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cctype>

#include "catalogue/PathSource.h"
#include "tests/catalogue/ExifTestFiles.h"

namespace fs = std::filesystem;

// Turns root's override of file modes on or off for this thread (mode 000 then stops it).
static bool FileAccessOverride(bool on)
{
    if (geteuid() != 0)
        return true;
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    for (const unsigned cap : { CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH })
        data[0].effective = on ? data[0].effective | (1u << cap) : data[0].effective & ~(1u << cap);
    return syscall(SYS_capset, &header, data) == 0;
}

// Every path of source; no descriptor is held between two of them.
static std::vector<std::string> PullAll(PathSource& source)
{
    const std::size_t descriptors = EntriesOf("/proc/self/fd");
    std::vector<std::string> paths;
    for (std::string path; source.Next(path);) {
        paths.push_back(path);
        EXPECT_EQ(EntriesOf("/proc/self/fd"), descriptors) << path;
    }
    return paths;
}

TEST(FolderWalk, PhotoNamesByExtensionInAnyCaseAndTheOrderAndFilteringOfATree)
{
    // Every extension in lower case, upper case and both alternations of the two, so that
    // each letter of each is folded from either case.
    const std::vector<std::string_view> extensions = { "3fr", "arw", "avif", "cr2", "cr3", "dcr",
        "dng", "erf", "heic", "heif", "hif", "iiq", "jpe", "jpeg", "jpg", "kdc", "mef", "mos",
        "mrw", "nef", "nrw", "orf", "pef", "raf", "rw2", "sr2", "srf", "srw", "tif", "tiff" };
    EXPECT_EQ(PhotoExtensions(), extensions);
    for (const std::string_view extension : extensions) {
        std::string spelt[4] = { "a.", "a.", "x.tar.", "a." }; // lower, upper, Mixed, mIxEd
        for (std::size_t i = 0; i < extension.size(); ++i) {
            const char upper = static_cast<char>(std::toupper(extension[i]));
            spelt[0] += extension[i];
            spelt[1] += upper;
            spelt[2] += i % 2 == 0 ? upper : extension[i];
            spelt[3] += i % 2 == 1 ? upper : extension[i];
        }
        for (const std::string& name : spelt)
            EXPECT_TRUE(IsPhotoFileName(name)) << name;
    }
    for (const char* name : { "jpg", "a.", "a.jp", "a.jpgg", "a.jpg.txt", "a.png", "a.heics",
             "a.hei", "a.crw", "a.j\xc3\xa9g", "a.JPG\xff", "a.mrw ",
             "a.r\xc1"
             "f" })
        EXPECT_FALSE(IsPhotoFileName(name)) << name;

    // A tree with every kind of entry a walk meets. "locked" is mode 000, read with root's
    // override of file modes off. "back" is the tree itself mounted inside it, in a mount
    // namespace of this thread's own: its second appearance is on the path and is not
    // entered. Where it cannot be mounted it is an empty folder.
    const TempDir tree;
    const std::string root = tree.path.string();
    for (const char* name : { "B.jpg", "IMG_10.jpg", "IMG_9.jpg", "a/z.tif", "a/.cache/x.jpg",
             "a/deep/er/est.NEF", "a-b.jpg", "a.jpg", ".hidden.jpg", ".thumbs/t.jpg", "notes.txt",
             "photo.png", "jpg", "x.jpg.txt", "dot.", "bad\xff.jpg", "\xc3\xa9t\xc3\xa9.jpg",
             "mixed.JpEg", "raw.3fr", "dir.jpg/inside.jpg", "locked/in.jpg" }) {
        fs::create_directories((tree.path / name).parent_path());
        tree.Write(name, { 'x' });
    }
    mkfifo((tree.path / "fifo.jpg").c_str(), 0600);
    for (const auto& [target, link] : { std::pair { "missing.jpg", "dead.jpg" },
             { "a/z.tif", "link.jpg" }, { "a", "linkdir" }, { ".", "loop" } })
        fs::create_symlink(target, tree.path / link);
    fs::permissions(tree.path / "locked", fs::perms::none);
    fs::create_directories(tree.path / "back");
    auto under = [&root](std::vector<std::string> paths) { // root followed by each
        for (std::string& path : paths)
            path.insert(0, root);
        return paths;
    };
    const int home = open("/proc/self/ns/mnt", O_RDONLY | O_CLOEXEC), cwd = open(".", O_RDONLY);
    const bool unshared = unshare(CLONE_NEWNS) == 0;
    if (unshared && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0)
        mount(root.c_str(), (root + "/back").c_str(), nullptr, MS_BIND, nullptr);
    const bool dropped = FileAccessOverride(false);
    FolderWalk walk(root);
    const std::vector<std::string> paths = PullAll(walk);
    EXPECT_TRUE(dropped && FileAccessOverride(true));
    fs::permissions(tree.path / "locked", fs::perms::owner_all);
    EXPECT_EQ(unshared ? setns(home, CLONE_NEWNS) + fchdir(cwd) : 0, 0);
    close(home);
    close(cwd);
    EXPECT_EQ(paths,
        under({ "/B.jpg", "/IMG_10.jpg", "/IMG_9.jpg", "/a/deep/er/est.NEF", "/a/z.tif", "/a-b.jpg",
            "/a.jpg", "/bad\xff.jpg", "/dir.jpg/inside.jpg", "/link.jpg", "/mixed.JpEg", "/raw.3fr",
            "/\xc3\xa9t\xc3\xa9.jpg" }));

    // Chosen items: a file is yielded whatever its name or whether it exists; a folder, or
    // a link to one, is walked where it stands, also among items of one folder looked up
    // in its listing; a trailing "/" is not doubled.
    const auto source = MakeScanSource(under({ "/notes.txt", "/linkdir", "/missing.jpg", "/dir.jpg",
        "/B.jpg", "/a/", "/a/.cache", "/a/z.tif", "/loop/a" }));
    EXPECT_EQ(PullAll(*source),
        under({ "/notes.txt", "/linkdir/deep/er/est.NEF", "/linkdir/z.tif", "/missing.jpg",
            "/dir.jpg/inside.jpg", "/B.jpg", "/a/deep/er/est.NEF", "/a/z.tif", "/a/.cache/x.jpg",
            "/a/z.tif", "/loop/a/deep/er/est.NEF", "/loop/a/z.tif" }));
}
