#pragma once

#include "app/CommandIds.h"
#include "model/AffProject.h"
#include "model/ProjectFile.h"
#include "ui/AppSettings.h"
#include "ui/MainFrame.h"
#include "ui/StatusListView.h"
#include "ui/UserPrompts.h"
#include "ui/VelkoraApp.h"
#include "ui/VelkoraDoc.h"
#include "ui/VelkoraView.h"

#include "tests/support/FakePrompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The prompts of the main window's tests.
using ScriptedPrompts = FakePrompts;

// Watchers of one test; a test's end stops the watchers it left waiting.
inline int g_modalGeneration = 0;
inline void StopModalWatchers() {
    ++g_modalGeneration;
}

// Runs handler on the next modal dialog that appears (it must close it).
// Records the class names of every modal dialog handled.
inline void OnNextModal(std::function<void(QWidget*)> handler, QStringList* seen = nullptr) {
    auto poll = std::make_shared<std::function<void()>>();
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    const int generation = g_modalGeneration;
    *poll = [handler, seen, poll, timer, generation] {
        if (generation != g_modalGeneration) {
            *poll = nullptr; // breaks the self-reference
            return;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (seen)
                *seen << modal->metaObject()->className();
            auto keep = poll; // the handler may run nested event loops
            handler(modal);
            return;
        }
        if (timer->elapsed() < 20000)
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

// Keeps the event loop running until done() or the bound is reached.
inline bool WaitUntil(const std::function<bool()>& done, int boundMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > boundMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A temporary folder, scripted prompts and the real application.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_oldCurrent = QDir::currentPath();
        OpenOldAppSettings()->clear();
        {
            // Emptied through QSettings first: it caches what it read.
            const auto settings = OpenAppSettings();
            settings->clear();
            settings->sync();
            QFile::remove(settings->fileName());
        }
        m_app = std::make_unique<CVelkoraApp>(m_prompts);
    }
    void TearDown() override {
        StopModalWatchers();
        m_app.reset(); // waits for builds still running
        QDir::setCurrent(m_oldCurrent);
    }

    // Starts the program with args; when no file is given the Welcome dialog
    // is cancelled.
    void Start(const QStringList& args) {
        if (args.isEmpty())
            OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); }, &m_modals);
        m_app->InitInstance(args);
        Doc().askSaveChanges = [this](QWidget*, const QString& text) {
            m_savePrompts << text;
            return m_saveAnswer;
        };
        Doc().Shell() = RecordingShell();
        Doc().clock = [] { return std::time_t(1700000000); };
    }

    ShellOperations RecordingShell() {
        ShellOperations ops;
        ops.open = [this](const std::string& t) {
            m_opened.push_back(t);
            return true;
        };
        ops.explore = [this](const std::string& f) {
            m_explored.push_back(f);
            return true;
        };
        ops.browserCommand = [] { return std::optional<std::string>(); };
        ops.startCommandLine = [](const std::string&) { return false; };
        return ops;
    }

    std::string Path(const QString& name) const {
        return QDir(m_dir.path()).filePath(name).toStdString();
    }

    // A project with n affiliates named Name<i> (IDs id<i>) saved to file.
    std::string WriteProject(const QString& file, int n, int service = 0) {
        CAffProject p;
        p.m_strTitle = "Product";
        p.m_strUuid = "11111111-2222-3333-4444-555555555555";
        p.m_strSetupFile = "setup.bin";
        auto info = std::make_unique<CProductRegInfo>();
        info->m_wService = 0;
        info->m_strProductId = "P1";
        info->m_strServiceName = "RegNow";
        p.m_mapRegInfo.SetAt(0, std::move(info));
        for (int i = 0; i < n; ++i) {
            CReseller r;
            r.m_strName = "Name" + std::to_string(i);
            r.m_strAffiliateId = "id" + std::to_string(i);
            r.m_nService = service;
            r.m_strWebSite = "https://site" + std::to_string(i) + ".example";
            r.m_strEmail = "a" + std::to_string(i) + "@example.com";
            r.m_strPurchaseLink = "http://";
            r.m_strSetupPath = "out/setup_" + std::to_string(i) + ".bin";
            r.m_tModified = 1600000000 + i;
            p.AddReseller(r);
        }
        const std::string path = Path(file);
        EXPECT_TRUE(SaveProjectFile(path, p).Ok());
        return path;
    }

    CVelkoraDoc& Doc() { return m_app->Doc(); }
    CMainFrame& Frame() { return m_app->Frame(); }
    CVelkoraView& View() { return *Frame().View(); }
    QAction& Cmd(int id) { return *Frame().Action(id); }
    bool Enabled(int id) {
        Frame().UpdateCommandUI();
        return Cmd(id).isEnabled();
    }
    void SelectRows(const std::vector<int>& rows) {
        View().clearSelection();
        for (int r : rows)
            View().selectionModel()->select(View().model()->index(r, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
    }
    // Rows appear in the map's order (the last added first in its bucket).
    int RowOfName(const QString& name) {
        for (int r = 0; r < View().model()->rowCount(); ++r)
            if (CellText(r, 0) == name)
                return r;
        return -1;
    }
    QString CellText(int row, int column) {
        return View().model()->index(row, column).data().toString();
    }

    QTemporaryDir m_dir;
    QString m_oldCurrent;
    ScriptedPrompts m_prompts;
    std::unique_ptr<CVelkoraApp> m_app;
    QStringList m_modals;
    QStringList m_savePrompts;
    CVelkoraDoc::SaveAnswer m_saveAnswer = CVelkoraDoc::SaveAnswer::No;
    std::vector<std::string> m_opened;
    std::vector<std::string> m_explored;
};
