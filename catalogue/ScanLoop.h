// SPDX-License-Identifier: MIT
// The reading half of a scan run, free of any window: the worker thread of the
// progress dialog and the benchmark run the very same loop.
#pragma once

#include <string>

class PathSource;
struct PhotoCatalogue;

// Starts a run: recordCount 0 and head a new empty spare record.
void BeginScan(PhotoCatalogue& catalogue);

// Reads one chosen file into the spare record: currentPath = path; on acceptance the
// five values enter their tables, a new spare record is linked and recordCount grows.
// Returns whether the file was accepted.
bool ScanOneFile(PhotoCatalogue& catalogue, const std::string& path);

// Makes the filled spare record a counted photo: its five values enter their tables, a
// new spare record is linked after it and recordCount grows.
void AcceptSpareRecord(PhotoCatalogue& catalogue);

// Reads the chosen files after the file dialog was confirmed: resets the tables, then
// for each path of paths ScanOneFile and a ScanProgress notice to
// catalogue.progressWindow, polling cancelRequested after each file and its notice, so
// that no further path is taken from paths after a cancel. Ends with ScanClose if
// cancelled, else sorts the tables and sends ScanDone.
void ScanChosenFiles(PhotoCatalogue& catalogue, PathSource& paths);
