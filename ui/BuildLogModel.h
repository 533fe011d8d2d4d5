#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>

// The lines of the build log, top first. Adding a line is one insertion at the
// end, whatever the number of lines before it. User-interface thread only.
class BuildLogModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit BuildLogModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Adds line after the last one.
    void Add(const QString& line);
    // Removes every line.
    void Clear();

    const QStringList& Lines() const { return m_lines; }

private:
    QStringList m_lines;
};
