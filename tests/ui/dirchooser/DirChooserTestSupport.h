// A chooser over a real temporary folder tree, with its path changes recorded.
#pragma once

#include "support/TempDir.h"
#include "ui/dirchooser/DirTreeCombo.h"
#include "ui/dirchooser/DirTreeView.h"
#include "ui/platform/QtText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace velmora::test {

// Pumps events until pred holds or two seconds pass.
template <typename Pred> bool WaitFor(Pred pred, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < ms)
        QTest::qWait(5);
    return pred();
}

struct ChooserFixture : ::testing::Test {
    TempDir dir;
    std::vector<dirtree::Volume> volumes;
    std::unique_ptr<ui::DirTreeCombo> combo;
    std::vector<std::string> changes; // every OnPathChange, in order

    // "/" and the temporary folder as a volume of its own.
    void SetUp() override {
        for (auto d : {"Music/Rock/Live", "Music/Jazz", "Music/Blues", "Other/Deep/er", "Empty"})
            std::filesystem::create_directories(dir / d);
        volumes = {{"/", "File System", dirtree::VolumeKind::vkFileSystem},
                   {dir.Slash(), "Temp", dirtree::VolumeKind::vkHardDisk}};
        Make();
    }
    void Make() {
        combo = std::make_unique<ui::DirTreeCombo>(nullptr, [this] { return volumes; });
        QObject::connect(combo.get(), &ui::DirTreeCombo::OnPathChange,
                         [this](const QString& p) { changes.push_back(ui::FromQString(p)); });
        combo->resize(300, 24);
        combo->show();
    }
    ui::DirTreeView& Tree() const { return *combo->Tree(); }
    std::string Current() const { return Tree().BuildNodePath(Tree().currentIndex()); }
    // Keys go where the platform sends them: to the open tree, else to the chooser.
    void Key(Qt::Key key) {
        QWidget* target = QApplication::activePopupWidget();
        QTest::keyClick(target ? target : combo.get(), key);
    }
    std::vector<std::string> Children(const std::string& path) const {
        std::vector<std::string> v;
        dirtree::FolderNode* n = nullptr;
        Tree().Model()->Tree().WalkPath(path, [&](dirtree::FolderNode& x) { n = &x; });
        if (!n || n == Tree().Model()->Tree().Root()) return v;
        for (int i = 0; i < n->ChildCount(); ++i)
            v.push_back(n->Child(i)->Caption());
        return v;
    }
};

} // namespace velmora::test
