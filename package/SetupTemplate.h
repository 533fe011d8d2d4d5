#pragma once

#include "package/AffiliateInfoFile.h"
#include "package/SfxResult.h"

#include <string>

class CAffProject;
class CStampTemplate;
struct ProductSetupFacts;

// A setup template is the product's custom setup that credits the vendor: its
// entry 0 carries the product's key, the product's own purchase link and web
// site. The vendor signs it once; each affiliate's copy is then the signed
// template with the affiliate's information stamped into the signature
// (package/StampTemplate.h).

// The information of a template's entry 0: the purchase link of the product
// at its default service (or else the first service that has one).
CAffiliateInfo TemplateAffiliateInfo(const CAffProject& project);

// Writes the template of project to outputPath with the launcher that the
// product's setup asks for, as a build of one affiliate would. SFX_ERR_SOURCE
// when the product's setup file cannot be read; otherwise the package codes.
SfxResult BuildSetupTemplate(const CAffProject& project, const std::string& outputPath);

// Whether the package at templatePath is a template of project: its entry 0
// carries the product's key and its entry 1 the product's setup file (setup,
// from ReadProductSetupFacts). Empty when it is; otherwise why not, as a
// phrase ("is not a custom setup").
std::string TemplateMismatch(const std::string& templatePath, const CAffProject& project,
                             const ProductSetupFacts& setup);

// Readies stampTemplate for stamping the affiliates of project from the signed
// template at templatePath: the product's setup file must be readable, the
// template must be the product's (TemplateMismatch) and signed. Empty when it
// is ready; otherwise the message that says why not, a whole sentence.
std::string OpenTemplateForStamping(const CAffProject& project, const std::string& templatePath,
                                    CStampTemplate& stampTemplate);
