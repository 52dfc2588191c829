// The folder tree without pixels: the computer node, its volumes and their folders, loaded one
// level at a time; paths built from nodes and nodes found from paths.
#pragma once

#include "core/dirtree/FolderNode.h"
#include "core/dirtree/FolderScan.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::dirtree {

// The path of the computer node: not a folder.
inline constexpr std::string_view kDrivesPath = "Drives";
inline constexpr std::string_view kComputerCaption = "Computer";

class FolderTree {
public:
    // Deletes every node, then adds the computer node with one child per volume; every volume
    // shows an expand button before it is read.
    void LoadDrives(const std::vector<Volume>& volumes);
    void Clear() { root_.reset(); }
    FolderNode* Root() const { return root_.get(); }

    // "Drives" for the computer node (or none); a volume's mount point with its trailing "/";
    // a folder's full path without one ("/home/ann/Music").
    static std::string BuildNodePath(const FolderNode* node);

    // The reading half of a first expansion: the node's folder, one level.
    static FolderScan ReadChildren(const FolderNode& node);
    // Stores what was read: the node counts as loaded from now on.
    static void SetChildren(FolderNode& node, std::vector<FolderEntry> entries);
    // Reads and stores, for callers that need not announce the new nodes first.
    static ScanStatus Load(FolderNode& node);
    // Removes a child whose folder vanished.
    static void RemoveChild(FolderNode& parent, int row);

    // The child matching one path component: the child of exactly that name, else the first one
    // whose caption equals it regardless of case.
    static FolderNode* MatchChild(const FolderNode& node, std::string_view component);

    // Walks to path (a folder path ending with "/"): the volume whose mount point is the
    // longest leading part of the path, then one child per component. visit runs for every
    // node matched, before its children are searched (it selects and expands it; expanding
    // loads). Stops at the first component without a match. Returns the last node matched.
    FolderNode* WalkPath(std::string_view path,
                         const std::function<void(FolderNode&)>& visit) const;

private:
    std::unique_ptr<FolderNode> root_;
};

} // namespace velmora::dirtree
