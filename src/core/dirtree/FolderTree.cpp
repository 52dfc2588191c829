// The folder tree model.
#include "core/dirtree/FolderTree.h"

#include "core/platform/CaseMap.h"
#include "core/platform/Utf8.h"

namespace velmora::dirtree {

namespace {

bool SameTextFolded(std::string_view a, std::string_view b) {
    return platform::ToLower(platform::DecodeUtf8(a)) == platform::ToLower(platform::DecodeUtf8(b));
}

} // namespace

void FolderTree::LoadDrives(const std::vector<Volume>& volumes) {
    root_ =
        std::make_unique<FolderNode>(NodeKind::nkComputer, std::string(kComputerCaption), nullptr);
    root_->loaded_ = true;
    for (const Volume& v : volumes) {
        auto node = std::make_unique<FolderNode>(NodeKind::nkVolume, v.caption, root_.get());
        node->volume_ = v;
        node->hasChildrenFlag_ = true;
        node->row_ = root_->ChildCount();
        root_->children_.push_back(std::move(node));
    }
}

std::string FolderTree::BuildNodePath(const FolderNode* node) {
    std::string path;
    for (; node; node = node->Parent()) {
        if (node->Kind() == NodeKind::nkVolume) {
            path.insert(0, node->VolumePath());
            break;
        }
        if (node->Kind() == NodeKind::nkComputer) break;
        path.insert(0, path.empty() ? node->Caption() : node->Caption() + "/");
    }
    return path.empty() ? std::string(kDrivesPath) : path;
}

FolderScan FolderTree::ReadChildren(const FolderNode& node) {
    if (node.Kind() == NodeKind::nkComputer) return {};
    return ScanFolder(BuildNodePath(&node));
}

void FolderTree::SetChildren(FolderNode& node, std::vector<FolderEntry> entries) {
    node.loaded_ = true;
    node.hasChildrenFlag_ = false;
    node.children_.reserve(node.children_.size() + entries.size());
    for (FolderEntry& e : entries) {
        auto child = std::make_unique<FolderNode>(NodeKind::nkFolder, std::move(e.name), &node);
        child->hasChildrenFlag_ = e.hasChildren;
        child->row_ = node.ChildCount();
        node.children_.push_back(std::move(child));
    }
}

ScanStatus FolderTree::Load(FolderNode& node) {
    if (node.Loaded()) return ScanStatus::ssOk;
    FolderScan scan = ReadChildren(node);
    SetChildren(node, std::move(scan.entries));
    return scan.status;
}

void FolderTree::RemoveChild(FolderNode& parent, int row) {
    parent.children_.erase(parent.children_.begin() + row);
    for (int i = row; i < parent.ChildCount(); ++i)
        parent.children_[static_cast<std::size_t>(i)]->row_ = i;
}

FolderNode* FolderTree::MatchChild(const FolderNode& node, std::string_view component) {
    for (int i = 0; i < node.ChildCount(); ++i)
        if (node.Child(i)->Caption() == component) return node.Child(i);
    for (int i = 0; i < node.ChildCount(); ++i)
        if (SameTextFolded(node.Child(i)->Caption(), component)) return node.Child(i);
    return nullptr;
}

FolderNode* FolderTree::WalkPath(std::string_view path,
                                 const std::function<void(FolderNode&)>& visit) const {
    if (!root_) return nullptr;
    FolderNode* current = nullptr;
    for (int i = 0; i < root_->ChildCount(); ++i) {
        FolderNode* v = root_->Child(i);
        const std::string& mp = v->VolumePath();
        if (path.compare(0, mp.size(), mp) == 0 &&
            (!current || mp.size() > current->VolumePath().size()))
            current = v;
    }
    if (!current) return nullptr;
    visit(*current);
    std::string_view rest = path.substr(current->VolumePath().size());
    for (std::size_t slash = rest.find('/'); slash != std::string_view::npos;
         slash = rest.find('/')) {
        FolderNode* next = MatchChild(*current, rest.substr(0, slash));
        if (!next) break;
        current = next;
        visit(*current);
        rest.remove_prefix(slash + 1);
    }
    return current;
}

} // namespace velmora::dirtree
