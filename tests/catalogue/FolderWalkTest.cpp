// SPDX-License-Identifier: MIT
#include "catalogue/FolderWalk.h"

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "catalogue/PathSource.h"
#include "tests/catalogue/ExifTestFiles.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> PullAll(PathSource& source)
{
    std::vector<std::string> paths;
    std::string path;
    while (source.Next(path))
        paths.push_back(path);
    return paths;
}

// root followed by each suffix.
std::vector<std::string> Under(const std::string& root, const std::vector<std::string>& suffixes)
{
    std::vector<std::string> paths;
    for (const std::string& suffix : suffixes)
        paths.push_back(root + suffix);
    return paths;
}

// A tree with every kind of entry a walk meets; "locked" is mode 000.
struct Tree : TempDir {
    std::string root = path.string();
    Tree()
    {
        for (const char* name :
            { "B.jpg", "IMG_10.jpg", "IMG_9.jpg", "a/z.tif", "a/.cache/x.jpg", "a/deep/er/est.NEF",
                "a-b.jpg", "a.jpg", ".hidden.jpg", ".thumbs/t.jpg", "notes.txt", "photo.png", "jpg",
                "x.jpg.txt", "dot.", "bad\xff.jpg", "\xc3\xa9t\xc3\xa9.jpg", "mixed.JpEg",
                "raw.3fr", "dir.jpg/inside.jpg", "locked/in.jpg" }) {
            fs::create_directories((path / name).parent_path());
            Write(name, { 'x' });
        }
        mkfifo((path / "fifo.jpg").c_str(), 0600);
        fs::create_symlink("missing.jpg", path / "dead.jpg");
        fs::create_symlink("a/z.tif", path / "link.jpg");
        fs::create_symlink("a", path / "linkdir");
        fs::create_symlink(".", path / "loop");
        fs::permissions(path / "locked", fs::perms::none);
    }
    ~Tree() { fs::permissions(path / "locked", fs::perms::owner_all); }
};

// Runs setup, then walk, in a child process, and returns the paths it pulled, or the
// error that setup returned.
struct ChildResult {
    std::string error;
    std::vector<std::string> paths;
};
ChildResult InChild(const std::function<std::string()>& setup,
    const std::function<std::vector<std::string>()>& walk)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return { "pipe failed", {} };
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        std::string out = setup();
        if (out.empty()) {
            out = "+";
            for (const std::string& path : walk())
                out.append(path).push_back('\0');
        }
        for (std::size_t at = 0; at < out.size();) {
            const ssize_t n = write(pipeFds[1], out.data() + at, out.size() - at);
            if (n <= 0)
                _exit(1);
            at += static_cast<std::size_t>(n);
        }
        _exit(0);
    }
    close(pipeFds[1]);
    std::string in;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        in.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || in.empty())
        return { "the child failed", {} };
    if (in[0] != '+')
        return { in, {} };
    ChildResult result;
    for (std::size_t at = 1, end; (end = in.find('\0', at)) != std::string::npos; at = end + 1)
        result.paths.push_back(in.substr(at, end - at));
    return result;
}

// Takes from a process running as root the capabilities that let it read and enter any
// folder, so that mode 000 stops it as it stops anyone else.
std::string DropFileAccessOverride()
{
    if (geteuid() != 0)
        return {};
    __user_cap_header_struct header {};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] {};
    if (syscall(SYS_capget, &header, data) != 0)
        return std::string("capget: ") + std::strerror(errno);
    for (const unsigned cap : { CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH }) {
        data[0].effective &= ~(1u << cap);
        data[0].permitted &= ~(1u << cap);
    }
    if (syscall(SYS_capset, &header, data) != 0)
        return std::string("capset: ") + std::strerror(errno);
    return {};
}

int OpenDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

} // namespace

TEST(FolderWalk, PhotoNamesByExtensionInAnyCase)
{
    for (const char* name : { "a.jpg", "a.JPEG", "a.Jpe", "a.tif", "a.TIFF", "a.dng", "a.NEF",
             "a.nrw", "a.Cr2", "a.arw", "a.srf", "a.SR2", "a.pef", "a.orf", "a.RW2", "a.srw",
             "a.3FR", "a.erf", "a.kdc", "a.dcr", "a.mef", "a.mos", "a.IIQ", "x.tar.jpg" })
        EXPECT_TRUE(IsPhotoFileName(name)) << name;
    for (const char* name : { "jpg", "a.", "a.jp", "a.jpgg", "a.jpg.txt", "a.png", "a.heic",
             "a.crw", "a.j\xc3\xa9g", "a.JPG\xff" })
        EXPECT_FALSE(IsPhotoFileName(name)) << name;
}

// In a child that root's override of file modes does not reach, so that "locked" cannot
// be read by the walk.
TEST(FolderWalk, OrderAndFilteringOfATree)
{
    const Tree tree;
    const ChildResult result = InChild(
        [&] {
            std::string error = DropFileAccessOverride();
            if (error.empty() && access((tree.root + "/locked").c_str(), R_OK) == 0)
                error = "the folder of mode 000 is still readable";
            return error;
        },
        [&] {
            FolderWalk walk(tree.root);
            return PullAll(walk);
        });
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.paths,
        Under(tree.root,
            { "/B.jpg", "/IMG_10.jpg", "/IMG_9.jpg", "/a/deep/er/est.NEF", "/a/z.tif", "/a-b.jpg",
                "/a.jpg", "/bad\xff.jpg", "/dir.jpg/inside.jpg", "/link.jpg", "/mixed.JpEg",
                "/raw.3fr", "/\xc3\xa9t\xc3\xa9.jpg" }));
}

// A file item is yielded whatever its name or whether it exists; a folder, or a link to
// one, is walked where it stands; a trailing "/" is not doubled.
TEST(FolderWalk, ChosenItemsInTheirOrder)
{
    const Tree tree;
    const auto source = MakeScanSource(Under(tree.root,
        { "/notes.txt", "/a/", "/missing.jpg", "/linkdir", "/dir.jpg", "/B.jpg", "/a/.cache" }));
    EXPECT_EQ(PullAll(*source),
        Under(tree.root,
            { "/notes.txt", "/a/deep/er/est.NEF", "/a/z.tif", "/missing.jpg",
                "/linkdir/deep/er/est.NEF", "/linkdir/z.tif", "/dir.jpg/inside.jpg", "/B.jpg",
                "/a/.cache/x.jpg" }));
}

// 40 folders deep: no descriptor is held between two paths, nor after the walk stops early.
TEST(FolderWalk, HoldsNoDescriptorWhateverTheDepth)
{
    const TempDir dir;
    std::string deepest;
    for (int depth = 0; depth < 40; ++depth) {
        deepest += "/d";
        fs::create_directories(dir.path.string() + deepest);
        dir.Write(deepest.substr(1) + "/p.jpg", { 'x' });
    }
    const int before = OpenDescriptors();
    {
        const auto source = MakeScanSource({ dir.path.string() });
        std::vector<std::string> paths;
        for (std::string path; source->Next(path);) {
            paths.push_back(path);
            EXPECT_EQ(OpenDescriptors(), before) << path;
        }
        ASSERT_EQ(paths.size(), 40u);
        EXPECT_EQ(paths.front(), dir.path.string() + deepest + "/p.jpg");
        EXPECT_EQ(paths.back(), dir.path.string() + "/d/p.jpg");
        const auto stopped = MakeScanSource({ dir.path.string() });
        std::string path;
        ASSERT_TRUE(stopped->Next(path));
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

// A folder mounted inside itself is walked once: its second appearance is already on the
// path. Needs a mount namespace of its own, in a child.
TEST(FolderWalk, BindMountOfAnAncestorIsNotEnteredAgain)
{
    const TempDir dir;
    const std::string root = dir.path.string();
    dir.Write("p.jpg", { 'x' });
    fs::create_directories(dir.path / "back");
    const ChildResult result = InChild(
        [&]() -> std::string {
            if (unshare(CLONE_NEWNS) != 0
                || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                || mount(root.c_str(), (root + "/back").c_str(), nullptr, MS_BIND, nullptr) != 0)
                return std::string("no private bind mount: ") + std::strerror(errno);
            return {};
        },
        [&] {
            FolderWalk walk(root);
            return PullAll(walk);
        });
    if (result.error.rfind("no private bind mount", 0) == 0)
        GTEST_SKIP() << result.error;
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.paths, Under(root, { "/p.jpg" }));
}
