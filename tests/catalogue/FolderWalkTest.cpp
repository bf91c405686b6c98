// SPDX-License-Identifier: MIT
#include "catalogue/FolderWalk.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

#include "catalogue/LongPath.h"
#include "catalogue/PathSource.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/ScanLoop.h"
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
        "dng", "erf", "heic", "heif", "hif", "iiq", "jpe", "jpeg", "jpg", "jxl", "kdc", "mef",
        "mos", "mrw", "nef", "nrw", "orf", "pef", "png", "raf", "rw2", "sr2", "srf", "srw", "tif",
        "tiff", "webp" };
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
    for (const char* name : { "jpg", "a.", "a.jp", "a.jpgg", "a.jpg.txt", "a.pn", "a.heics",
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
             "photo.gif", "jpg", "x.jpg.txt", "dot.", "bad\xff.jpg", "\xc3\xa9t\xc3\xa9.jpg",
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

namespace {
// Records the folders a walk enters and stops it on entering the stopAt-th.
struct Watcher : WalkWatch {
    std::vector<std::string> entered;
    std::size_t stopAt = 0;
    bool Stopped() override { return stopAt != 0 && entered.size() >= stopAt; }
    void Entered(const std::string& folder) override { entered.push_back(folder); }
};
} // namespace

// The walk tells each folder it enters and stops as soon as it is told to: no further
// folder is entered, and it ends as after its last path. Chosen items pass the watch on to
// the folders among them.
TEST(FolderWalk, TellsTheFoldersItEntersAndStopsWhenToldTo)
{
    const TempDir tree;
    const std::string root = tree.path.string();
    for (const char* name : { "a/1.txt", "b/2.txt", "c/3.jpg", "d/4.jpg" }) {
        fs::create_directories((tree.path / name).parent_path());
        tree.Write(name, { 'x' });
    }
    Watcher all;
    FolderWalk walk(root, &all);
    EXPECT_EQ(PullAll(walk), (std::vector<std::string> { root + "/c/3.jpg", root + "/d/4.jpg" }));
    EXPECT_EQ(all.entered,
        (std::vector<std::string> { root, root + "/a", root + "/b", root + "/c", root + "/d" }));

    Watcher stopping;
    stopping.stopAt = 3;
    const auto source = MakeScanSource({ root + "/c/3.jpg", root, root + "/d/4.jpg" });
    source->Watch(&stopping);
    EXPECT_EQ(PullAll(*source), std::vector<std::string> { root + "/c/3.jpg" });
    EXPECT_EQ(stopping.entered, (std::vector<std::string> { root, root + "/a", root + "/b" }));

    // Told to stop while it lists a folder of 300 photos, the walk ends within the listing
    // and hands out none of them.
    const TempDir big;
    for (int i = 0; i < 300; ++i)
        big.Write("p" + std::to_string(i) + ".jpg", { 'x' });
    Watcher atOnce;
    atOnce.stopAt = 1;
    FolderWalk stopped(big.path.string(), &atOnce);
    EXPECT_TRUE(PullAll(stopped).empty());
}

// 24 nested folders of 250-byte names, a photo in each: the deeper half lies past the
// system's path length of 4096 bytes and is walked and read all the same, and a folder,
// a FIFO and a device named as photos are turned away without a descriptor left open.
TEST(FolderWalk, ATreeDeeperThanThePathLengthLosesNoPhoto)
{
    const TempDir tree;
    const std::string root = tree.path.string();
    int folder = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    std::string path = root;
    std::vector<std::string> expected;
    for (int depth = 0; depth < 24; ++depth) {
        const std::string name(250, static_cast<char>('a' + depth));
        ASSERT_EQ(mkdirat(folder, name.c_str(), 0700), 0);
        const int inner = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        close(folder);
        ASSERT_GE((folder = inner), 0);
        path += "/" + name;
        const int photo = openat(folder, "p.jpg", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(photo, 0);
        ASSERT_EQ(write(photo, kBigEndian.data(), kBigEndian.size()),
            static_cast<ssize_t>(kBigEndian.size()));
        close(photo);
        expected.push_back(path + "/p.jpg");
    }
    close(folder);
    std::reverse(expected.begin(), expected.end()); // the deepest first
    ASSERT_GT(expected.front().size(), 4096u);

    PhotoCatalogue catalogue;
    BeginScan(catalogue);
    FolderWalk walk(root);
    ScanChosenFiles(catalogue, walk);
    std::set<std::string> read;
    for (const PhotoRecord* r = catalogue.head.get(); r != catalogue.spare; r = r->next.get())
        read.insert(r->path);
    EXPECT_EQ(read, std::set<std::string>(expected.begin(), expected.end()));
    EXPECT_EQ(catalogue.recordCount, 24);

    // Refused: a folder, a FIFO and a character device named as photos, each at a short
    // path and past the path length.
    const std::string deep = expected.front().substr(0, expected.front().size() - 6);
    std::vector<std::string> refused;
    for (const std::string& at : { root, deep }) {
        const int base = OpenAnyLength(at, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(base, 0);
        ASSERT_EQ(mkdirat(base, "dir.jpg", 0700), 0);
        ASSERT_EQ(mkfifoat(base, "fifo.jpg", 0600), 0);
        ASSERT_EQ(mknodat(base, "null.jpg", S_IFCHR | 0600, makedev(1, 3)), 0);
        close(base);
        for (const char* name : { "/dir.jpg", "/fifo.jpg", "/null.jpg", "/missing.jpg" })
            refused.push_back(at + name);
    }
    const std::size_t descriptors = EntriesOf("/proc/self/fd");
    PhotoCatalogue none;
    BeginScan(none);
    PathListSource list(refused);
    ScanChosenFiles(none, list, { ReadFileStart, 4, 8 });
    EXPECT_EQ(none.recordCount, 0);
    EXPECT_EQ(EntriesOf("/proc/self/fd"), descriptors);

    // Its paths are too long for a removal by name; rm goes folder by folder.
    EXPECT_EQ(std::system(("rm -rf " + root).c_str()), 0);
    EXPECT_FALSE(fs::exists(root));
}
