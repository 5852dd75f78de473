#include "app/MemoFileUI.h"

#include <QApplication>
#include <QPalette>

#include "app/TFormMainMenu.h"
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

int MemoFileUI::saveHolders_(bool force) {
    int saved = 0;
    HolderList list;
    listHolders_(list);
    for (auto& [name, holder] : list) {
        if (!force && !holder->changed) continue;
        if (mainWindow->saveHolderToItsFile_(*holder)) ++saved;
    }
    return saved;
}

}  // namespace zel
