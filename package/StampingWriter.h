#pragma once

#include <functional>
#include <memory>
#include <string>

class CSfxPackage;
class CStampTemplate;

// A package writer for the affiliate builder (BuildEnvironment::writePackage)
// that stamps instead of building: the output is a copy of the signed
// template with the information file of entry 0 in its stamp slot; entry 1
// (the product's setup) is already in the template. SFX_ERR_SOURCE when the
// information of entry 0 (from memory or its file) cannot be decoded.
std::function<int(CSfxPackage& pkg, const std::string& outputPath)>
StampingWriter(std::shared_ptr<const CStampTemplate> stampTemplate);
