#pragma once

#include "ui/UserPrompts.h"

// Prompts for shot programs: shows nothing, declines every question and
// chooses nothing, since a shot never needs an answer.
class CSilentUserPrompts : public IUserPrompts {
public:
    void Message(QWidget*, const QString&, PromptIcon, const QString&) override {}
    bool Question(QWidget*, const QString&, PromptIcon, const QString&) override { return false; }
    QString OpenFile(QWidget*, const FileRequest&) override { return {}; }
    QString SaveFile(QWidget*, const FileRequest&) override { return {}; }
    QString ChooseFolder(QWidget*, const FolderRequest&) override { return {}; }
};
