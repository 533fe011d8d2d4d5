#pragma once

#include <QString>

// Numbered strings of velkora: captions, header texts, messages and the
// one-line help texts of dialog controls (stored under the control's own
// identifier). An unknown number gives an empty string.
QString VkLoadString(int id);

// Identifiers of the numbered strings used by the dialogs.
enum VkStringId : int {
    IDS_WIZARD_CAPTION = 154,
    IDS_STEP1_TITLE = 155,
    IDS_STEP2_TITLE = 156,
    IDS_STEP3_TITLE = 157,
    IDS_STEP1_SUBTITLE = 159,
    IDS_STEP2_SUBTITLE = 161,
    IDS_STEP3_SUBTITLE = 162,
    IDS_IS_PRODUCT_SETUP_FILE = 173,
    IDS_FILE_IN_USE = 175,
};

// format with its first "%s" replaced by arg (arg itself is never scanned).
QString VkFormat(const QString& format, const QString& arg);
