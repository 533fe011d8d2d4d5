#include "ui/BuildLogModel.h"

BuildLogModel::BuildLogModel(QObject* parent) : QAbstractListModel(parent) {}

int BuildLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant BuildLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_lines.at(index.row());
    return {};
}

void BuildLogModel::Add(const QString& line) {
    const int row = static_cast<int>(m_lines.size());
    beginInsertRows({}, row, row);
    m_lines.append(line);
    endInsertRows();
}

void BuildLogModel::Clear() {
    beginResetModel();
    m_lines.clear();
    endResetModel();
}
