#pragma once

class CAffProject;
class CArchiveReader;
class CArchiveWriter;

// Field-by-field storing and loading of a project and the records it owns.
void StoreProject(CArchiveWriter& ar, const CAffProject& project);

// Reads into a cleared project; false at the first fault of the content.
bool LoadProject(CArchiveReader& ar, CAffProject& project);
