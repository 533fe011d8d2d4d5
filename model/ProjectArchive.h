#pragma once

#include "model/BucketMap.h"
#include "model/ResellerView.h"

#include <deque>
#include <string>

class CAffProject;
class CArchiveReader;
class CArchiveWriter;

// Field-by-field storing and loading of a project and the records it owns.
void StoreProject(CArchiveWriter& ar, const CAffProject& project);

// Reads into a cleared project; false at the first fault of the content.
bool LoadProject(CArchiveReader& ar, CAffProject& project);

// The same for a project whose affiliates point into the file's bytes: the
// product's own affiliate map is not used. Wide texts are kept converted in
// wideTexts.
void StoreProject(CArchiveWriter& ar, const CAffProject& product,
                  const CBucketMap<CResellerView>& resellers);
bool LoadProject(CArchiveReader& ar, CAffProject& product, CBucketMap<CResellerView>& resellers,
                 std::deque<std::string>& wideTexts);
