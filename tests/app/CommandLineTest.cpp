// SPDX-License-Identifier: MIT
// The program's arguments taken apart: what runs, what is printed, what Qt gets.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/CommandLine.h"

TEST(CommandLine, PathsOptionsAndMistakes)
{
    QTemporaryDir dir;
    const std::string root = QFile::encodeName(dir.path()).toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("shots/2024")));
    QFile photo(dir.filePath(QStringLiteral("a b.jpg")));
    ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
    const std::string oddName = "a b.jpg";

    struct Case {
        std::vector<std::string> args;
        bool run;
        int exitCode;
        std::string firstLine; // of stdout when it runs not, else of stderr
        bool expanded;
        std::vector<std::string> paths;
        std::vector<std::string> qt;
    };
    const std::string mistake = "Try 'fotolot --help' for more information.";
    const Case cases[] = {
        { {}, true, 0, "", false, {}, { "fotolot" } },
        { { "shots/2024/", "./" + oddName, "-style", "fusion", "--expanded" }, true, 0, "", true,
            { root + "/shots/2024", root + "/" + oddName }, { "fotolot", "-style", "fusion" } },
        { { "--", "--expanded" }, false, 2,
            "fotolot: cannot read '--expanded': No such file or "
            "directory",
            false, {}, {} },
        { { "-platform=offscreen", ".", root + "/shots" }, true, 0, "", false,
            { root, root + "/shots" }, { "fotolot", "-platform=offscreen" } },
        { { "--help", "--bogus" }, false, 0, "Usage: fotolot [--expanded] [PATH...]", false, {},
            {} },
        { { "--version" }, false, 0, "fotolot 1.2.3", false, {}, {} },
        { { "--bogus", "--help" }, false, 2, "fotolot: unknown option '--bogus'", false, {}, {} },
        { { "shots", "missing.jpg" }, false, 2,
            "fotolot: cannot read 'missing.jpg': No such file or directory", false, {}, {} },
        { { "-style" }, false, 2, "fotolot: option '-style' needs a value", false, {}, {} },
        { { "" }, false, 2, "fotolot: an empty path names no file", false, {}, {} },
    };
    for (const Case& c : cases) {
        std::vector<std::string> args { "fotolot" };
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CommandLine line = ParseCommandLine(args, root, "1.2.3");
        const std::string text = c.run || line.exitCode == 0 ? line.out : line.err;
        SCOPED_TRACE(text);
        EXPECT_EQ(line.run, c.run);
        EXPECT_EQ(line.exitCode, c.exitCode);
        EXPECT_EQ(text.substr(0, text.find('\n')), c.firstLine);
        if (c.exitCode == 2) {
            EXPECT_NE(text.find(mistake), std::string::npos);
        }
        if (!c.run)
            continue;
        EXPECT_EQ(line.expanded, c.expanded);
        EXPECT_EQ(line.paths, c.paths);
        EXPECT_EQ(line.qtArguments, c.qt);
    }
}
