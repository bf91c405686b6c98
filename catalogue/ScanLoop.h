// SPDX-License-Identifier: MIT
// The reading half of a scan run, free of any window: the worker thread of the
// progress dialog and the benchmark run the very same loop.
#pragma once

#include "catalogue/ReadAhead.h"

class PathSource;
struct PhotoCatalogue;

// Starts a run: recordCount 0 and head a new empty spare record.
void BeginScan(PhotoCatalogue& catalogue);

// Makes the filled spare record a counted photo: in each view that counts it (InView) its
// five values enter the view's tables and the view's recordCount grows, and the other view
// counts a file skipped for want of an EXIF block; a new spare record is linked after it.
void AcceptSpareRecord(PhotoCatalogue& catalogue);

// Reads the chosen files after the file dialog was confirmed: resets the tables and the
// skip counts, then for each path of paths, in their order: currentPath = the path; the
// file parsed into the spare record and, if accepted, the record counted
// (AcceptSpareRecord), else counted in catalogue.skipped by its reason; a ScanProgress
// notice to catalogue.progressWindow; cancelRequested polled. The files are read ahead
// of this (see ReadAhead), with options.read. While a walk of paths looks through folders
// without finding files, a ScanFolder notice now and then tells which folder it is in. After
// a cancel (seen after a file and its notice, or by the walk between folders) no further
// path is taken from paths, the files read ahead are dropped without a record, every reader
// is joined and ScanClose is sent; otherwise the tables are sorted, every
// record's 35 mm value is set (LearnFocal35) and ScanDone is sent.
void ScanChosenFiles(
    PhotoCatalogue& catalogue, PathSource& paths, const ReadAheadOptions& options = {});
