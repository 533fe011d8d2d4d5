#pragma once

#include "package/BuildLogSink.h"

#include <QListWidget>
#include <QString>

#include <string>

// The build log: one line per row, one column as wide as the pane (long lines
// are shortened at the right edge), the newest line always in view. Append may
// be called from a worker thread: the line is added on the user-interface
// thread and the caller waits until it is there, so lines keep their order.
class CStatusListView : public QListWidget, public IBuildLogSink {
    Q_OBJECT
public:
    explicit CStatusListView(QWidget* parent = nullptr);

    // Adds line at the bottom and scrolls to it. Any thread.
    void Append(const std::string& line) override;
    // Removes every line. User-interface thread only.
    void Clear() override;

    // The lines shown, top first (tests and screenshots).
    QStringList Lines() const;

signals:
    void lineAppended(const QString& line);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void AppendHere(const QString& line);
};
