#pragma once

#include "app/AppPrompts.h"
#include "app/DocumentDialogs.h"
#include "app/DocumentEvents.h"
#include "app/SettingsStore.h"
#include "model/AffProject.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

// Answers the core's questions from queues and records what was shown. An
// unexpected question fails the test through the empty queue's default
// answers (No, Cancel, no file) and the record of what was asked.
class FakePrompts : public IAppPrompts {
public:
    void Message(const std::string& text, PromptIcon icon, const std::string&) override {
        shown.push_back(text);
        icons.push_back(icon);
    }
    bool Question(const std::string& text, PromptIcon icon, const std::string&) override {
        asked.push_back(text);
        icons.push_back(icon);
        return Take(yesNo, false);
    }
    SaveAnswer AskSaveChanges(const std::string& text) override {
        asked.push_back(text);
        return Take(saveAnswers, SaveAnswer::Cancel);
    }
    std::string OpenFile(const FileChoice& request) override {
        choices.push_back(request);
        return Take(files, std::string());
    }
    std::string SaveFile(const FileChoice& request) override {
        choices.push_back(request);
        return Take(files, std::string());
    }
    std::string ChooseFolder(const FolderChoice&) override { return Take(files, std::string()); }

    std::deque<bool> yesNo;
    std::deque<SaveAnswer> saveAnswers;
    std::deque<std::string> files;
    std::vector<std::string> shown;
    std::vector<std::string> asked;
    std::vector<PromptIcon> icons; // of the messages and questions, in order
    std::vector<FileChoice> choices;

private:
    template <typename T> static T Take(std::deque<T>& queue, T fallback) {
        if (queue.empty())
            return fallback;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

// The document's dialogs: the wizard gives wizard when it is set, the
// affiliate dialog the next of affiliates.
class FakeDialogs : public IDocumentDialogs {
public:
    bool RunNewProjectWizard(NewProjectAnswers& answers) override {
        if (!wizard)
            return false;
        answers = *wizard;
        return true;
    }
    bool EditNewAffiliate(CAffProject&, CReseller& affiliate) override {
        if (affiliates.empty())
            return false;
        affiliate = affiliates.front();
        affiliates.pop_front();
        return true;
    }
    bool EditProductSettings(CAffProject&) override { return false; }
    bool EditProgramUuid(std::string&) override { return false; }

    std::optional<NewProjectAnswers> wizard;
    std::deque<CReseller> affiliates;
};

// Settings in memory.
class MemorySettings : public ISettingsStore {
public:
    std::optional<std::string> Read(const std::string& section, const std::string& key) override {
        auto it = values.find(section + "/" + key);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override {
        values[section + "/" + key] = value;
    }
    void Remove(const std::string& section, const std::string& key) override {
        values.erase(section + "/" + key);
    }
    std::map<std::string, std::string> values;
};

// Counts the document's notices.
class CountingEvents : public IDocumentEvents {
public:
    void ProjectReplaced() override { ++replaced; }
    void TitleChanged() override { ++titles; }
    void ModifiedChanged(bool) override { ++modifiedChanges; }
    void RecentFilesChanged() override { ++recentChanges; }
    int replaced = 0;
    int titles = 0;
    int modifiedChanges = 0;
    int recentChanges = 0;
};
