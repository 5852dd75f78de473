// The editing dialogs in the window: the field window, the holder fields
// dialog, the selected-nodes editor, the property dialogs and the name
// dialog, kept as companions. They reach the window through one DialogHost,
// a child of the window made on first use.

#include "app/window/NodeEditor.h"
#include "app/window/Stamps.h"
#include "app/window/TFormMainMenu.h"
#include "app/window/TFormMainScript.h"
#include "app/window/WindowCompanionHost.h"
#include "dialogs/ui/DialogHost.h"
#include "dialogs/ui/TFormEditSelNode.h"
#include "dialogs/ui/TFormField.h"
#include "dialogs/ui/TFormHolder2.h"
#include "dialogs/ui/TFormMXA2.h"
#include "dialogs/ui/TFormName.h"
#include "dialogs/ui/TFormPropatyApl.h"
#include "dialogs/ui/TFormPropatyNode2.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Opener.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"

namespace zel {

namespace {

class WindowDialogHost final : public QObject, public WindowCompanionHost<DialogHost> {
  public:
    explicit WindowDialogHost(TFormMainScript& window)
        : QObject(&window), WindowCompanionHost(window) {
        setObjectName(QStringLiteral("zelDialogHost"));
    }

    void saveFieldsEditor(MemoNode& node) override {
        if (NodeEditor* editor = window_.nodeEditor()) editor->writeFields(node);
    }
    void reloadFieldsEditor(MemoNode& node) override {
        if (NodeEditor* editor = window_.nodeEditor()) editor->showFields(node);
    }
    // A tree or a list keeps its own order; the other modes follow the sort.
    void holderSettingsChanged(MemoHolder& holder) override {
        auto* shown = dynamic_cast<MemoHolderUI*>(&holder);
        const ListMode mode = shown ? shown->listMode() : ListMode::Nodes;
        if (mode != ListMode::Tree && mode != ListMode::List) holder.nodes->keepOrder_();
        if (shown) shown->refreshControls_();
        if (&holder == window_.getCurHolder()) window_.refreshHolderList();
    }

    void insertIntoNodeEditor(std::string_view text) override {
        NodeEditor* editor = window_.nodeEditor();
        TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr;
        if (frame) frame->insertAtCursor(frame->MemoNode0, text);
    }
    bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) override {
        return window_.editSelectedNodes_(nodes) == 0;
    }

    void switchUIReadOnly() override {
        if (auto* menus = dynamic_cast<TFormMainMenu*>(&window_))
            if (menus->CheckBox_UIReadOnly) menus->CheckBox_UIReadOnly->setChecked(true);
    }
    void refreshReadOnlyIndicator() override { window_.refreshReadOnlyIndicator(); }
    std::string userName() const override { return wrapQuotes(window_.userName); }
    std::string dateFormat() const override {
        const MemoHolder* holder = window_.getCurHolder();
        return holder ? holder->getField_("FormatDate") : std::string();
    }

    std::string getTempDirectory() const override { return window_.getTempDirectory(); }
    void setTempDirectory(std::string_view directory) override {
        window_.setTempDirectory(directory);
    }
    int dropMode() const override { return window_.dropMode; }
    void setDropMode(int mode) override { window_.dropMode = mode; }
    int getAutoSaveTime() const override { return window_.getAutoSaveTime(); }
    void putAutoSaveTime_(int seconds) override { window_.putAutoSaveTime_(seconds); }
    QFont UIFont() override {
        window_.UIFont();
        return window_.font();
    }

    std::optional<QColor> chooseColor(const QColor& initial) override {
        return window_.prompter().chooseColor(initial);
    }
    std::string openFileName(std::string_view filter, std::string_view initialPath) override {
        return window_.prompter().openFileName(filter, initialPath);
    }
    std::string directoryName(std::string_view caption, std::string_view start) override {
        return window_.prompter().directoryName(caption, start);
    }
    // Through the replaceable desktop opener, so tests start nothing.
    bool explore(std::string_view folder) override { return openOnDesktop(folder); }
};

}  // namespace

DialogHost& TFormMainScript::dialogHost() {
    auto* host = findChild<QObject*>(QStringLiteral("zelDialogHost"), Qt::FindDirectChildrenOnly);
    if (auto* made = dynamic_cast<WindowDialogHost*>(host)) return *made;
    return *new WindowDialogHost(*this);
}

int TFormMainScript::UIShowScanField() {
    if (refuse(Busy)) return kFailed;
    companion<TFormField>()->open(dialogHost());
    messageDoing_("Show FormField " + longStamp());
    return 0;
}

int TFormMainScript::UIShowHolderFields() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    auto* form = companion<TFormHolderFields>();
    form->setFont(font());
    form->load(*holder, dialogHost());
    form->exec();
    messageDoing_("");
    return 0;
}

int TFormMainScript::editSelectedNodes_(const std::vector<std::pair<std::string, NodeRef>>& nodes) {
    companion<TFormEditSelNode>()->open(dialogHost(), nodes);
    return 0;
}

int TFormMainScript::UIEditAllMemoNode() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    NodeList list;
    holder->setNodeList_(list);
    std::vector<std::pair<std::string, NodeRef>> nodes;
    nodes.reserve(list.size());
    for (const auto& [name, node] : list) nodes.emplace_back(name, NodeRef(node));
    if (editSelectedNodes_(nodes) != 0) return kFailed;
    messageDoing_("Show FormEditSelNode ");
    return 0;
}

int TFormMainScript::UIShowHolderPropaty() {
    if (refuse(Busy)) return kModalWindowResult;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    auto* form = companion<TFormHolder2>();
    form->loadRecord_(*holder);
    form->setHost(&dialogHost());
    form->setFont(font());
    form->exec();
    return kModalWindowResult;
}

int TFormMainScript::UIShowPropatyMXA2() {
    if (refuse(Busy)) return kFailed;
    auto* form = companion<TFormMXA2>();
    form->loadRecord_(*aFile);
    form->setHost(&dialogHost());
    form->setFont(font());
    if (form->exec() == QDialog::Accepted) setCaption_();
    return 0;
}

int TFormMainScript::UIShowField() {
    auto* form = companion<TFormPropatyNode2>();
    form->bind(dialogHost());
    form->showNormal();
    form->raise();
    return 0;
}

int TFormMainScript::UIShowApplicationPropaty() {
    if (refuse(Busy)) return kFailed;
    auto* form = companion<TFormPropatyApl>();
    form->load(dialogHost());
    form->exec();
    QFont chosen = font();
    chosen.setPointSize(form->font().pointSize());
    chosen.setFamily(form->font().family());
    setFont(chosen);
    messageDoing_("Close FormPropatyAPL " + longStamp());
    return 0;
}

int TFormMainScript::UIRenameNode() {
    if (uiReadOnlySource()) {
        messageDoing_("UIReadOnly=\"true\"");
        return kFailed;
    }
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    if (node->isReadOnlyEffective_()) {
        messageDoing_("flagReadOnly=\"true\"");
        return kFailed;
    }
    NodeEditor* editor = nodeEditor();
    TFrameMemoNode* frame = editor ? editor->nodeFrame() : nullptr;
    if (!frame) return kNoNode;
    frame->nameDialog();
    return 0;
}

bool TFormMainScript::askNodeName_(MemoNode& node, std::string& name, bool separateWindow) {
    auto* form = companion<TFormName>();
    form->setFont(font());
    form->setOwner(&dialogHost(), separateWindow);
    form->loadRecord_(node);
    if (form->exec() != QDialog::Accepted) return false;
    name = form->name();
    return true;
}

}  // namespace zel
