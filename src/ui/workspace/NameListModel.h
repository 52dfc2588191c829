// The left list's items: a string list that a list view shows without copying it.
#pragma once

#include "core/platform/StringList.h"

#include <QAbstractListModel>
#include <functional>

namespace velmora::ui {

class NameListModel : public QAbstractListModel, public platform::StringList {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // A row's data beyond its name (a mark's colour, its tooltip), asked for at paint time.
    std::function<QVariant(int row, int role)> RowData;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    // One model reset per update bracket instead of a signal per item.
    void SetUpdateState(bool updating) override;
};

} // namespace velmora::ui
