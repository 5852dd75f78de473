#include "app/window/WindowCompanionHost.h"

#include <QPalette>

#include "app/window/TFormMainMenu.h"
#include "views/TFormMemoNode.h"
#include "views/TFrameMemoNode.h"

namespace zel {

void writeBackNodeEditors(TFormMainScript& window) {
    window.UI2Model();
    for (TFormMemoNode* shown : window.findChildren<TFormMemoNode*>())
        if (shown->isOwnWindow()) shown->frame()->UI2Model();
}

void reloadNodeEditors(TFormMainScript& window) {
    window.Model2UI();
    for (TFormMemoNode* shown : window.findChildren<TFormMemoNode*>())
        if (shown->isNodeAlive(shown->node())) shown->frame()->Model2UI();
}

QColor toolPanelColour(const TFormMainScript& window) {
    const auto* menus = dynamic_cast<const TFormMainMenu*>(&window);
    const QWidget* panel = menus && menus->Panel_Tool ? menus->Panel_Tool : &window;
    return panel->palette().color(QPalette::Window);
}

void showCompanionBox(TFormMainScript& window, CompanionBox kind, std::string_view text) {
    static constexpr Tone kTones[] = {Tone::Information, Tone::Confirmation, Tone::Warning,
                                      Tone::Error};
    window.prompter().ask(kTones[static_cast<int>(kind)], text, ButtonOk);
}

}  // namespace zel
