#pragma once

#include "app/AppPrompts.h"

#include <vector>

// The file types the program's choosers offer, in the order shown; the first
// is the one a chooser opens on.

// The product's setup file: executables, installer packages and archives. On
// systems whose setup programs are not ".exe" files "All Files" comes first.
std::vector<FileChoiceFilter> SetupFileChoices();

// The CSV files of Import Affiliates and Export Affiliates.
std::vector<FileChoiceFilter> CsvFileChoices();
