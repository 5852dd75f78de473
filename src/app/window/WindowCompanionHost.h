#pragma once
// The main window as its companion windows see it: the share every family's
// host has (CompanionHost), forwarded once for the search windows' host and
// the editing dialogs' host alike. Each family's host derives from
// WindowCompanionHost<ItsInterface> and adds only what is its own.

#include <string_view>

#include "app/window/TFormMainScript.h"
#include "views/CompanionHost.h"

namespace zel {

// The node view and every node window of `window` written into their nodes,
// and shown again from the nodes still alive.
void writeBackNodeEditors(TFormMainScript& window);
void reloadNodeEditors(TFormMainScript& window);
// The colour of the window's tool panel (the window's own without one).
QColor toolPanelColour(const TFormMainScript& window);
// A box with OK through the window's Prompter.
void showCompanionBox(TFormMainScript& window, CompanionBox kind, std::string_view text);

template <class Host>
class WindowCompanionHost : public Host {
  public:
    explicit WindowCompanionHost(TFormMainScript& window) : window_(window) {}

    MemoFile* memoFile() const override { return window_.aFile.get(); }
    MemoHolder* getCurHolder() const override { return window_.getCurHolder(); }
    MemoNode* getCurMemoNode() const override { return window_.getCurMemoNode(); }
    MemoHolder* changeHolder_(MemoHolder* holder) override { return window_.changeHolder_(holder); }
    void setCurMemoNode_(MemoNode* node) override { window_.setCurMemoNode_(node); }

    bool nowDoing() override { return window_.nowDoing(); }
    void startDoing_(std::string_view name) override { window_.startDoing_(name); }
    void doneDoing_(std::string_view text) override { window_.doneDoing_(text); }
    bool isBreakRequested() override { return window_.isBreakRequested(); }
    void messageDoing_(std::string_view text) override { window_.messageDoing_(text); }

    void UI2Model() override { writeBackNodeEditors(window_); }
    void Model2UI() override { reloadNodeEditors(window_); }
    void loadHolder_(MemoHolder& holder) override { window_.loadHolder_(&holder); }
    MemoNode* newMemoNode() override {
        return window_.UINewNode() == 0 ? window_.getCurMemoNode() : nullptr;
    }

    void messageBox(CompanionBox kind, std::string_view text) override {
        showCompanionBox(window_, kind, text);
    }
    QFont windowFont() const override { return window_.font(); }
    QColor panelColour() const override { return toolPanelColour(window_); }

  protected:
    TFormMainScript& window_;
};

}  // namespace zel
