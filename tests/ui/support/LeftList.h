// The main window's lists as the tests read them: the left list's names and the index of one
// of them, and the names pane's lines.
#pragma once

#include "ui/editor/TextEditor.h"
#include "ui/workspace/MainWindow.h"

#include <QAbstractItemModel>
#include <QListView>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora::test {

inline std::vector<std::string> LeftNames(ui::MainWindow& w) {
    std::vector<std::string> v;
    for (int i = 0; i < w.Work().Left().Count(); ++i)
        v.push_back(w.Work().Left().Get(i));
    return v;
}

inline std::vector<std::string> PaneLines(ui::MainWindow& w) {
    std::vector<std::string> v;
    for (int i = 0; i < w.MemoNew->Lines().Count(); ++i)
        v.push_back(w.MemoNew->Lines().Get(i));
    return v;
}

// The list item showing name; a failure when it is not listed.
inline QModelIndex LeftItem(ui::MainWindow& w, const std::string& name) {
    for (int i = 0; i < w.Work().Left().Count(); ++i)
        if (w.Work().Left().Get(i) == name) return w.ListBoxOrg->model()->index(i, 0);
    ADD_FAILURE() << name << " is not listed";
    return {};
}

} // namespace velmora::test
