// SPDX-License-Identifier: MIT
// Runs a save in a child process, under a file-size limit as "ulimit -f" sets one or as
// another user as "setpriv --reuid" runs one, so that the test's own process keeps its
// limits and identity and survives a SIGXFSZ the save fails to avoid.
#pragma once

#include <QByteArray>
#include <QString>

#include <csignal>
#include <functional>
#include <string>

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// What save said in a child process once prepare succeeded there: its text ("saved" or the
// reason it gave), "<not prepared>" when prepare failed, or "ended by signal N" when the
// child did not exit of its own.
inline std::string SaidInChild(
    const std::function<bool()>& prepare, const std::function<QString()>& save)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child < 0)
        return "no child";
    if (child == 0) {
        const QByteArray said = prepare() ? save().toUtf8() : "<not prepared>";
        (void)!::write(channel[1], said.constData(), static_cast<size_t>(said.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    char said[256] = {};
    (void)!::read(channel[0], said, sizeof said - 1);
    ::close(channel[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return "lost the child";
    if (!WIFEXITED(status))
        return "ended by signal " + std::to_string(WTERMSIG(status));
    return said;
}

// What save said in a child limited to limitBytes per file, with SIGXFSZ at its default
// action.
inline std::string SaidUnderFileSizeLimit(rlim_t limitBytes, const std::function<QString()>& save)
{
    return SaidInChild(
        [limitBytes] {
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit { limitBytes, limitBytes };
            return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        },
        save);
}

// What save said in a child that runs as user id and group id, with no other groups; needs
// the right to change users (root), else "<not prepared>".
inline std::string SaidAsUser(uid_t id, const std::function<QString()>& save)
{
    return SaidInChild(
        [id] {
            return ::setgroups(0, nullptr) == 0 && ::setresgid(id, id, id) == 0
                && ::setresuid(id, id, id) == 0;
        },
        save);
}
