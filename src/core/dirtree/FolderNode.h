// One node of the folder tree: the computer, a volume or a folder.
#pragma once

#include "core/dirtree/VolumeList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::dirtree {

enum class NodeKind : std::uint8_t { nkComputer, nkVolume, nkFolder };

class FolderNode {
public:
    FolderNode(NodeKind kind, std::string caption, FolderNode* parent)
        : kind_(kind), caption_(std::move(caption)), parent_(parent) {}

    NodeKind Kind() const { return kind_; }
    const std::string& Caption() const { return caption_; }
    // A volume's mount point, with a trailing "/"; empty for other nodes.
    const std::string& VolumePath() const { return volume_.path; }
    VolumeKind Volume() const { return volume_.kind; }
    FolderNode* Parent() const { return parent_; }
    // 0 for the top nodes, 1 for their children, and so on.
    int Level() const;
    // The position among the parent's children.
    int Row() const { return row_; }

    int ChildCount() const { return static_cast<int>(children_.size()); }
    FolderNode* Child(int row) const { return children_[static_cast<std::size_t>(row)].get(); }
    // Children were read (once; collapsing keeps them).
    bool Loaded() const { return loaded_; }
    // Whether the node shows an expand button: before loading, the has-children flag; after,
    // whether anything was found.
    bool HasChildren() const { return loaded_ ? !children_.empty() : hasChildrenFlag_; }

private:
    friend class FolderTree;

    NodeKind kind_;
    std::string caption_;
    dirtree::Volume volume_;
    FolderNode* parent_;
    int row_ = 0;
    bool hasChildrenFlag_ = false;
    bool loaded_ = false;
    std::vector<std::unique_ptr<FolderNode>> children_;
};

} // namespace velmora::dirtree
