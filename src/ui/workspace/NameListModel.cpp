// The left list's model.
#include "ui/workspace/NameListModel.h"

#include "core/workspace/NameLine.h"
#include "ui/platform/QtText.h"

namespace velmora::ui {

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    if (role != Qt::DisplayRole) return RowData ? RowData(index.row(), role) : QVariant();
    // Line breaks in a name show as symbols, as on the names pane's line for it.
    return ToQString(workspace::NameLine::OneLine(Get(index.row())));
}

void NameListModel::SetUpdateState(bool updating) {
    if (updating)
        beginResetModel();
    else
        endResetModel();
}

void NameListModel::Put(int index, const std::string& s) {
    StringList::Put(index, s);
    if (UpdateCount() == 0) emit dataChanged(this->index(index), this->index(index));
}

void NameListModel::Insert(int index, const std::string& s) {
    if (UpdateCount() > 0 || index < 0 || index > Count()) return StringList::Insert(index, s);
    beginInsertRows({}, index, index);
    StringList::Insert(index, s);
    endInsertRows();
}

void NameListModel::Delete(int index) {
    if (UpdateCount() > 0 || index < 0 || index >= Count()) return StringList::Delete(index);
    beginRemoveRows({}, index, index);
    StringList::Delete(index);
    endRemoveRows();
}

void NameListModel::Clear() {
    if (UpdateCount() > 0) return StringList::Clear();
    beginResetModel();
    StringList::Clear();
    endResetModel();
}

} // namespace velmora::ui
