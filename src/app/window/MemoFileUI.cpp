#include "app/window/MemoFileUI.h"

#include <QApplication>
#include <QPalette>
#include <unordered_set>

#include "app/window/TFormMainBase0007.h"
#include "app/window/TFormMainMenu.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/ViewText.h"

namespace zel {

int MemoFileUI::clear_() {
    currentNode = nullptr;
    return MemoFile::clear_();
}

std::string MemoFileUI::getTempDir_() const {
    return mainWindow ? mainWindow->getTempDirectory() : MemoFile::getTempDir_();
}

int MemoFileUI::_writeTSL_deep_(std::vector<std::string>& lines, std::string_view indent) {
    if (currentNode && currentHolder && mainWindow) {
        putField_("CurrentHolder", wrapQuotes(currentHolder->getName_()));
        putField_("Version", wrapQuotes(mainWindow->LabeledEdit_Version));
    }
    return MemoFile::_writeTSL_deep_(lines, indent);
}

std::uint32_t MemoFileUI::getColor_() const {
    if (fields.indexOf("Color") >= 0) return MemoFile::getColor_();
    const auto* window = dynamic_cast<const TFormMainMenu*>(mainWindow);
    return fromQColor(window && window->Panel_Tool
                          ? window->Panel_Tool->palette().color(QPalette::Window)
                          : QApplication::palette().color(QPalette::Button));
}

std::unique_ptr<MemoHolder> MemoFileUI::newHolderObject_() {
    return std::make_unique<MemoHolderUI>(this);
}

void MemoFileUI::announceNotLoaded_(const std::string& holderPath) {
    if (mainWindow)
        mainWindow->prompter().ask(Tone::Confirmation, "Not Loaded: " + holderPath, ButtonOk);
}

int MemoFileUI::saveHolders_(bool force, bool askOnConflict) {
    std::vector<MemoHolder*> chosen;
    HolderList list;
    listHolders_(list);
    for (auto& [name, holder] : list)
        if (force || holder->changed) chosen.push_back(holder);
    if (chosen.empty() || !mainWindow) return 0;
    const MemoFileSaveResult saved = mainWindow->saveTogether_(false, chosen, askOnConflict);
    std::unordered_set<std::string> written;
    for (const auto& [path, size] : saved.written) written.insert(path);
    int count = 0;
    for (MemoHolder* holder : chosen) count += written.contains(holderFilePath_(*holder)) ? 1 : 0;
    return count;
}

}  // namespace zel
