// Icons of the folder tree: from the desktop's icon theme, else the bundled ones.
#pragma once

#include "core/dirtree/FolderNode.h"

#include <QIcon>

namespace velmora::ui {

class DirTreeIcons {
public:
    // The node's icon; a folder's shows open while it is selected.
    static QIcon ForNode(const dirtree::FolderNode& node);
};

} // namespace velmora::ui
