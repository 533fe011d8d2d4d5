#pragma once

#include "package/PeImageLayout.h"
#include "package/PeResourceTree.h"

#include <string>
#include <vector>

// What end users see of a program before they run it: its icon group (with
// the icons it names) and its version information. A custom setup shows the
// vendor's, copied from the vendor's setup program into the launcher image.

// The first icon group of the setup with every icon it names, and its first
// version information; either is left out when the setup lacks it or it is
// broken (a group naming an icon that is not there). Empty for anything that
// is not a Windows program with a readable resource tree.
std::vector<ResourceItem> ReadVendorFace(const PeLayoutReadAt& read, int64_t size);
std::vector<ResourceItem> ReadVendorFaceOfFile(const std::string& path);

enum class FaceResult {
    Applied,       // the image now carries the face
    NothingToCopy, // the face is empty: the image is unchanged
    Signed,        // the image has a certificate table: never rewritten
    NoRoom,        // no room for one more section row in the headers
    Unreadable,    // not a PE image whose layout and resources can be read
};

// Rewrites the launcher image so that its resources are its own less the
// kinds the face replaces (a face's icon group replaces every icon and
// icon group, its version the version), plus the face. The new resource tree
// goes into a new last section (".rsrc"); the data directory, the section
// count, SizeOfImage, SizeOfInitializedData and the checksum follow it; the
// old resource bytes stay where they were, unused. Anything but Applied
// leaves image unchanged.
FaceResult ApplyVendorFace(std::string& image, const std::vector<ResourceItem>& face);
