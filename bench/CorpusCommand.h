// SPDX-License-Identifier: MIT
#pragma once

// fotolot-bench corpus DIR COUNT [--seed S] [--tree] [--format F]
// Writes COUNT synthetic photos under DIR (a thousand per subfolder) and DIR/list.txt
// naming them all, for use as @DIR/list.txt. The same seed gives the same files. F is
// jpeg (the default), heic, heic-tail, cr3, raf or mrw (see CorpusFileContents).
int RunCorpusCommand(int argc, char** argv);
