#include "ViewsTestSupport.h"

#include "text/TextHelpers.h"

namespace zel::test {

MemoHolderUI& addHolder(MemoFile& file, const std::string& name,
                        const std::vector<std::string>& names,
                        const std::vector<std::string>& parents) {
    auto made = file.newHolderObject_();
    auto& holder = static_cast<MemoHolderUI&>(*made);
    file.addHolder_(std::move(made), name);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto node = holder.newNode_();
        if (!parents.empty()) {
            node->putField_("UID", wrapQuotes("u" + names[i]));
            if (!parents[i].empty()) node->putField_("ParentNodeID", wrapQuotes("u" + parents[i]));
        }
        holder.addNode_(std::move(node), names[i]);
    }
    return holder;
}

std::vector<std::string> namesInOrder(const MemoHolder& holder) {
    NodeList list;
    holder.setNodeList_(list);
    std::vector<std::string> names;
    for (auto& entry : list) names.push_back(entry.first);
    return names;
}

std::vector<std::string> treeShape(MemoHolderUI& holder) {
    std::vector<std::string> shape;
    for (const std::string& name : namesInOrder(holder)) {
        const TreeItem* item = holder.treeItemOf(holder.byName_(name));
        shape.push_back(name + ":" +
                        (item && !item->isTopLevel() ? item->parent->node->getName_() : "-"));
    }
    return shape;
}

FakeHost::FakeHost() : file(std::make_unique<ShownMemoFile>()) {
    frame = std::make_unique<TFrameMemoHolder>();
    frame->initialise(this);
    frame->resize(600, 400);
}

FakeHost::~FakeHost() {
    // The holders' controls live in the frame: the holders go first.
    file.reset();
    frame.reset();
}

void FakeHost::show(MemoHolderUI& holder) {
    frame->showHolder(&holder);
    file->currentHolder = &holder;
    current = nullptr;
    setCurMemoNode_(holder.getCurrent_() ? holder.getCurrent_() : holder.first_());
}

void FakeHost::setCurMemoNode_(MemoNode* node) {
    if (node == current) return;
    current = node;
    if (auto* holder = node ? dynamic_cast<MemoHolder*>(node->owner) : nullptr)
        holder->setCurrent_(node);
    frame->updatePosition();
}

MemoHolder* FakeHost::changeHolder_(MemoHolder* holder) {
    auto* shown = dynamic_cast<MemoHolderUI*>(holder);
    if (!shown) return nullptr;
    if (frame->holder()) frame->hideHolder(frame->holder());
    show(*shown);
    return holder;
}

bool FakeHost::inputQuery(std::string_view, std::string_view, std::string& value) {
    if (answers.empty()) return false;
    value = answers.front();
    answers.pop_front();
    return true;
}

std::string FakeHost::saveFileName(std::string_view, std::string_view initial) {
    proposedSavePath = initial;
    return savePath;
}

int FakeHost::runCommand(std::string_view name, std::string_view argument) {
    if (name == "UIClone_") {
        clones.push_back(std::stoi(std::string(argument)));
        return clones.back();
    }
    commands.push_back(argument.empty() ? std::string(name)
                                        : std::string(name) + "(" + std::string(argument) + ")");
    return 0;
}

}  // namespace zel::test
