// SPDX-License-Identifier: MIT
// The QApplication of the benchmark's window subcommands, named fotolot-bench and given
// no arguments of Qt's own.
#pragma once

#include <QApplication>

class BenchApplication {
public:
    BenchApplication()
        : m_application(m_argc, m_argv)
    {
    }

private:
    // Qt keeps references to the count and the names for the application's lifetime.
    int m_argc = 1;
    char m_name[14] = "fotolot-bench";
    char* m_argv[2] = { m_name, nullptr };
    QApplication m_application;
};
