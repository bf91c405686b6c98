// SPDX-License-Identifier: MIT
// Texts written as one field of a tab-separated line (the export, the benchmark's records).
#pragma once

#include <string>

// text with every tab, carriage return and line feed turned into a space, so that a path
// or camera name holding one can break neither the line nor its columns.
std::string TabField(std::string text);
