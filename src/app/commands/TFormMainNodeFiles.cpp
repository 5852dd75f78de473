// Saving a node's content to a file of the user's choice or to its own file,
// and reading nodes and the current holder again from their files.

#include <vector>

#include "app/commands/CommandNames.h"
#include "app/window/TFormMainScript.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Downloader.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/BodyPaths.h"

namespace zel {

namespace {

// The picture save dialog's filter.
constexpr const char* kPictureFilter =
    "Pictures|*.jpg;*.jpe;*.jpeg;*.bmp;*.gif;*.png;*.ico|All(*.*)|*.*";

bool isPictureExtension(std::string_view extension) {
    const std::string lower = lowerText(extension);
    for (const char* picture : {".jpg", ".jpe", ".jpeg", ".bmp", ".gif", ".png", ".ico"})
        if (lower == picture) return true;
    return false;
}

bool isPageExtension(std::string_view extension) {
    const std::string lower = lowerText(extension);
    return lower == ".html" || lower == ".htm";
}

// A web-address node keeps its address, not a body read from it.
bool isAddressNode(const MemoNode& node) {
    return stripQuotes(node.getEncoding_()) == "URL";
}

std::string unquotedField(const MemoNode& node, std::string_view key) {
    return stripQuotes(node.getField_(key));
}

// The last part of an address as a plain file name, so that it stays inside
// the folder it is joined to.
std::string addressFileName(std::string_view address) {
    const std::string last = fileNameOf(address);
    return last.empty() ? urlToFileName(address) : safeFileName(last);
}

// "true" unless the field says otherwise.
bool confirmsOverwrite(const MemoNode& node) {
    const std::string value = trimText(node.getField_("FlagConfirmOverwrite"));
    return value.empty() || stripQuotes(value) == "true";
}

void markHolderChanged(MemoNode& node) {
    if (auto* holder = dynamic_cast<MemoHolder*>(node.enclosingRecord_())) holder->changed = true;
}

}  // namespace

// --- Save As ---------------------------------------------------------------------

int TFormMainScript::UISaveNodeAs() {
    if (refuse(Busy)) return kFailed;
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    UI2Model();
    const int result = saveNodeAs_(*node);
    Model2UI();
    return result;
}

int TFormMainScript::saveNodeAs_(MemoNode& node) {
    const std::string filename = unquotedField(node, "Filename");
    const bool web = isWebAddress(filename);
    std::string proposed = filename;
    if (web) {
        proposed = unquotedField(node, "FilenameLocal");
        if (proposed.empty()) proposed = aFile->getMemoFileDir_() + addressFileName(filename);
    }
    if (node.isURL_() && !isPageExtension(extensionOf(proposed))) proposed += ".html";
    proposed = holderRelativePath(node, proposed);

    const std::string chosen = isPictureExtension(extensionOf(proposed))
                                   ? prompter().saveFileName(kPictureFilter, proposed)
                                   : prompter().saveFileName(saveDialogFilter_, proposed);
    if (chosen.empty()) return kFailed;
    if (!ensureFolderFor(chosen)) {
        messageDoing_("Cancel: MemoNode SaveAs " + chosen);
        return kFailed;
    }
    {
        CommandScope scope(*this, "MemoNode SaveAs " + chosen);
        if (node.saveBody_(chosen) < 0) {
            // The fields keep naming what was really written.
            addLog_("ERROR: could not write " + chosen);
            scope.endWith("ERROR: MemoNode SaveAs " + chosen);
            return kFailed;
        }
    }

    const std::string quoted = wrapQuotes(chosen);
    if (filename.empty()) {
        node.putField_("Filename", quoted);
        markHolderChanged(node);
    }
    if (web) {
        if (prompter().ask(Tone::Confirmation, "Change Field named as \"FilenameLocal\" ?",
                           ButtonYes | ButtonNo) == Answer::Yes) {
            node.putField_("FilenameLocal", quoted);
            markHolderChanged(node);
        }
    } else if (chosen != unquotedField(node, "Filename") &&
               prompter().ask(Tone::Confirmation, "Change Field named as \"Filename\" ?",
                              ButtonYes | ButtonNo) == Answer::Yes) {
        node.putField_("Filename", quoted);
        if (filename.starts_with('.')) node.makeRelative_("Filename", holderFolderOfNode(node));
        markHolderChanged(node);
    }
    if (node.getField_("flagSaveAsLog") == "\"true\"") {
        node.putField_("Filename" + formatDateTime("YYYYMMDD", currentDateTime()), quoted);
        markHolderChanged(node);
    }
    return 0;
}

// --- Writing a node to its own file ---------------------------------------------------

std::string TFormMainScript::UISaveMemoNode_(MemoNode& node) {
    std::string path = unquotedField(node, "Filename");
    if (path.empty() || isWebAddress(path)) {
        const std::string address = path;
        path = unquotedField(node, "FilenameLocal");
        // A node without any file name is asked for one below.
        if (path.empty() && !address.empty())
            path = aFile->getMemoFileDir_() + addressFileName(address);
    }
    if (path.empty()) {
        messageDoing_("Set Filename.");
        path = trimText(prompter().saveFileName(saveDialogFilter_, ""));
        if (path.empty()) return {};
    }
    path = holderRelativePath(node, path);
    if (path.ends_with('/') || path.ends_with('\\') || lowerText(extensionOf(path)) == ".mxa")
        return {};

    if (confirmsOverwrite(node) && fileExists(path)) {
        switch (prompter().ask(Tone::Confirmation, "Overwrite ? " + path,
                               ButtonYes | ButtonNo | ButtonCancel)) {
            case Answer::Yes:
                break;
            case Answer::No:
                // The file there stays as it is and is still the one to run.
                return path;
            default:
                return {};
        }
    }
    const std::string directory(folderOf(path));
    if (!directory.empty() && !dirExists(directory)) {
        if (prompter().ask(Tone::Confirmation,
                           "Make Directory? ,Not Exist File Path.\r\n" + directory,
                           ButtonYes | ButtonNo) != Answer::Yes)
            return {};
        if (!makeDirs(directory)) {
            messageDoing_("Could Not Make Director. " + directory);
            return {};
        }
    }
    if (node.saveBody_(path) < 0) {
        const std::string failure = "ERROR: could not overwrite on _UISaveMemoNode_. " + path;
        prompter().error(failure);
        addLog_(failure);
        return {};
    }
    return path;
}

// --- Reloading ----------------------------------------------------------------------

int TFormMainScript::UIReloadNode() {
    // Reading bodies again changes the nodes: not in a read-only holder.
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder || !nodeEditor()) return kNoHolder;
    MemoNode* node = getCurMemoNode();
    if (!node) return kNoNode;
    UI2Model();
    if (isAddressNode(*node)) {
        Model2UI();
        return 0;
    }
    const std::string filename = unquotedField(*node, "Filename");
    if (filename.empty()) {
        messageDoing_("Do not reload. because filename is empty.");
        return kMissingField;
    }
    std::string path = filename;
    // The field keeps naming the address or the relative path, not the place
    // the body was read from.
    std::string recordedName;
    if (isWebAddress(filename)) {
        path = getTempDirectory() + urlToFileName(filename);
        if (!downloader().download(filename, path).ok()) {
            messageDoing_("Not found " + filename);
            return kFailed;
        }
        recordedName = filename;
    } else if (filename.starts_with('.')) {
        path = holderRelativePath(*node, filename);
        recordedName = filename;
    }
    CommandScope scope(*this, "Reload " + path);
    if (node->setFile_(path, recordedName) < 0) {
        scope.endWith("Does Not exist. " + path);
        return kFailed;
    }
    node->loaded = true;
    Model2UI();
    holder->changed = true;
    return 0;
}

int TFormMainScript::UIReloadMemoHolder() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    const std::string path = holderFilePath_(*holder);
    UI2Model();
    // Reloading drops every change since the last save: not without asking.
    if (holder->changed &&
        prompter().ask(Tone::Confirmation,
                       "MemoHolder \"" + holder->getName_() +
                           "\" is changed. Shall I reload it and lose the changes ?\r\n" + path,
                       ButtonYes | ButtonCancel) != Answer::Yes) {
        messageDoing_("Cancel: UIReloadMemoHolder");
        return kFailed;
    }
    CommandScope scope(*this, commands::UIReloadMemoHolder);
    // The file is read aside first: a holder whose file is gone or broken
    // keeps its nodes.
    MemoHolder trial;
    if (zel::readHolderFile_(trial, path) < 0) {
        addLog_("ERROR: could not read the MemoHolder " + path);
        scope.endWith("Failure: UIReloadMemoHolder " + path);
        return kFailed;
    }
    releaseViews();
    holder->clear_();
    attachHolderFile_(holder, path);
    if (holder->count_() == 0) holder->makeNode_();
    aFile->changed = true;
    changeHolder_(holder);
    scope.endWith("Done:UIReLoadMemoHolder " + path);
    return 0;
}

int TFormMainScript::UIReLoadEach() {
    // Reading bodies again changes the nodes: not in a read-only holder.
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    CommandScope scope(*this, commands::UIReLoadEach);
    UI2Model();
    NodeList nodes;
    holder->setNodeList_(nodes);
    int total = 0;
    bool reloaded = false;
    for (auto& [name, node] : nodes) {
        if (isBreakRequested()) break;
        // Reading an address would turn the web node into the page it names.
        if (isAddressNode(*node)) continue;
        const int status = node->loadLinkedBody_();
        reloaded = reloaded || status > 0;
        total += status;
    }
    if (reloaded) holder->changed = true;
    Model2UI();
    const std::string ending = isBreakFlagSet() ? "Break:UIReLoadEach " : "Done:UIReLoadEach ";
    scope.endWith(ending + std::to_string(total));
    return total;
}

}  // namespace zel
