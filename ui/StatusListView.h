#pragma once

#include "package/BuildLogSink.h"

#include <QStringList>
#include <QTableView>
#include <QTimer>

#include <string>

class BuildLogModel;

// The build log: one line per row, one column as wide as the pane (long lines
// are shortened at the right edge), the newest line always in view. Append may
// be called from a worker thread: the line is added on the user-interface
// thread and the caller waits until it is there, so lines keep their order.
//
// Adding a line lays out none of the lines before it (the rows of a table,
// all of one height; a list view would lay out every row again), and the pane
// is repainted at most once per frame interval however fast lines arrive: a
// build of many small packages appends lines faster than a screen shows them.
class CStatusListView : public QTableView, public IBuildLogSink {
    Q_OBJECT
public:
    // The shortest time between two repaints while lines arrive.
    static constexpr int kFrameMilliseconds = 40;

    explicit CStatusListView(QWidget* parent = nullptr);

    // Adds line at the bottom and scrolls to it. Any thread.
    void Append(const std::string& line) override;
    // Removes every line. User-interface thread only.
    void Clear() override;

    // The number of lines.
    int count() const;
    // The lines held, top first (tests and screenshots).
    QStringList Lines() const;
    // True while lines added last are not yet painted; a picture of the pane
    // taken meanwhile (QWidget::grab) comes out empty.
    bool RepaintHeld() const { return m_frame.isActive(); }

signals:
    void lineAppended(const QString& line);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void AppendHere(const QString& line);
    // Holds repainting back until the frame interval has passed.
    void HoldRepaint();
    void ReleaseRepaint();
    void FitRowHeight();

    BuildLogModel* m_model;
    QTimer m_frame;
};
