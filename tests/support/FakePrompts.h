#pragma once

#include "ui/UserPrompts.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <gtest/gtest.h>

#include <initializer_list>

// The prompts of every widget test: records every prompt and answers from
// queues. A question or chooser with no queued answer is a test failure
// (answered No / cancelled), so a test states every answer it expects to give.
class FakePrompts : public IUserPrompts {
public:
    struct Shown {
        QString kind; // "message", "question", "open", "save", "folder"
        QString text; // message text; for choosers the initial path
        PromptIcon icon = PromptIcon::Warning;
        FileRequest file;
        FolderRequest folder;
        QString caption; // empty: the application's name
    };

    QList<Shown> shown;
    QQueue<bool> answers;
    QQueue<QString> paths;

    void Message(QWidget*, const QString& text, PromptIcon icon, const QString& caption) override {
        shown.append({QStringLiteral("message"), text, icon, {}, {}, caption});
    }
    bool Question(QWidget*, const QString& text, PromptIcon icon, const QString& caption) override {
        shown.append({QStringLiteral("question"), text, icon, {}, {}, caption});
        if (answers.isEmpty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return false;
        }
        return answers.dequeue();
    }
    QString OpenFile(QWidget*, const FileRequest& request) override {
        shown.append({QStringLiteral("open"), request.initialPath, {}, request, {}, {}});
        return NextPath();
    }
    QString SaveFile(QWidget*, const FileRequest& request) override {
        shown.append({QStringLiteral("save"), request.initialPath, {}, request, {}, {}});
        return NextPath();
    }
    QString ChooseFolder(QWidget*, const FolderRequest& request) override {
        shown.append({QStringLiteral("folder"), request.initialFolder, {}, {}, request, {}});
        return NextPath();
    }

    // Queues the answers to the next questions, in order.
    void Answer(std::initializer_list<bool> next) {
        for (bool a : next)
            answers.enqueue(a);
    }
    // Queues the paths the next choosers return, in order.
    void Pick(std::initializer_list<QString> next) {
        for (const QString& p : next)
            paths.enqueue(p);
    }

    QStringList Messages() const { return Texts(QStringLiteral("message")); }
    QStringList Questions() const { return Texts(QStringLiteral("question")); }
    // The caption of every question, in order; empty means the application's name.
    QStringList QuestionCaptions() const {
        QStringList out;
        for (const Shown& s : shown)
            if (s.kind == QLatin1String("question"))
                out << s.caption;
        return out;
    }
    // The initial path of every open or save chooser, in order.
    QStringList ProposedFiles() const {
        return Texts(QStringLiteral("open")) + Texts(QStringLiteral("save"));
    }

private:
    QStringList Texts(const QString& kind) const {
        QStringList out;
        for (const Shown& s : shown)
            if (s.kind == kind)
                out << s.text;
        return out;
    }
    QString NextPath() {
        if (paths.isEmpty()) {
            ADD_FAILURE() << "unexpected chooser";
            return {};
        }
        return paths.dequeue();
    }
};
