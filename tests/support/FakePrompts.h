#pragma once

#include "ui/UserPrompts.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <gtest/gtest.h>

// Records every prompt and answers from queues. A question or chooser with
// no queued answer is a test failure (answered No / cancelled).
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

    QStringList Messages() const {
        QStringList out;
        for (const Shown& s : shown)
            if (s.kind == QLatin1String("message"))
                out << s.text;
        return out;
    }

private:
    QString NextPath() {
        if (paths.isEmpty()) {
            ADD_FAILURE() << "unexpected chooser";
            return {};
        }
        return paths.dequeue();
    }
};
