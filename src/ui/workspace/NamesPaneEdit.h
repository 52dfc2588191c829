// The new-names pane until the names editor control takes its place: a plain text edit whose
// lines the workspace reads and writes as a string list.
#pragma once

#include "core/platform/StringList.h"
#include "core/workspace/NamesPane.h"

#include <QPlainTextEdit>
#include <vector>

namespace velmora::ui {

class NamesPaneEdit;

// The edit's lines. Reads follow the user's typing; writes inside an update bracket are
// gathered and shown at once when the bracket closes.
class DocumentLines : public platform::StringList {
public:
    explicit DocumentLines(NamesPaneEdit& edit) : edit_(edit) {}
    int Count() const override;
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    void MarkStale() { stale_ = true; }

protected:
    void SetUpdateState(bool updating) override;

private:
    void Pull() const;
    void Push();

    NamesPaneEdit& edit_;
    mutable std::vector<std::string> lines_;
    mutable bool stale_ = true;
};

class NamesPaneEdit : public QPlainTextEdit, public workspace::NamesPane {
    Q_OBJECT
public:
    explicit NamesPaneEdit(QWidget* parent = nullptr);
    platform::StringList& Lines() override { return lines_; }
    bool Modified() const override;
    void SetModified(bool modified) override;

private:
    DocumentLines lines_;
};

} // namespace velmora::ui
