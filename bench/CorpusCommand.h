// SPDX-License-Identifier: MIT
#pragma once

// fotolot-bench corpus DIR COUNT [--seed S]
// Writes COUNT synthetic photos under DIR (a thousand per subfolder) and DIR/list.txt
// naming them all, for use as @DIR/list.txt. The same seed gives the same files.
int RunCorpusCommand(int argc, char** argv);
