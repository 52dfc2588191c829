// Folder tree nodes.
#include "core/dirtree/FolderNode.h"

namespace velmora::dirtree {

int FolderNode::Level() const {
    int level = 0;
    for (const FolderNode* p = parent_; p; p = p->parent_)
        ++level;
    return level;
}

} // namespace velmora::dirtree
